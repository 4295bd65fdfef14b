#pragma once
#include <cstddef>
#include <vector>

#include "app/text_cut.h"
#include "store/records.h"

// The search's walk and matching over the snapshot, free of window code:
// the tree (FindNext) shows what it finds, the search dialog and the main
// window build the requests.

// Entry field a request searches, in the order of the dialog's combo box.
enum SearchTarget {
    kSearchTitle = 0,
    kSearchAddress = 1,
    kSearchComment = 2,
    kSearchCreated = 3,
    kSearchLastAccess = 4,
    kSearchUpdated = 5,
};

constexpr size_t kSearchTextSize = 1024;

// One search request, copied whole between the dialog and the main window.
struct SearchRequest {
    char text[kSearchTextSize];   // at most 1023 characters
    int target;                   // SearchTarget
    int wholeField;               // 1: the field must equal the text
    int matchCase;                // 1: A-Z must match in case
    int downward;                 // 1: forward, 0: backward
    // The search dialog (its window handle) when its 次を検索 sent the
    // request; nullptr for F3 in the main window and for a hand-over.
    void* dialog;
};

// Where a run stands; all zero before the first search.
struct SearchState {
    char lastText[kSearchTextSize];   // text of the last hit; empty when idle
    int folder;
    int note;
    int entry;
    int hitCount;
    int startDirection;               // the downward value the run began with
    bool inProgress;
    // The last hit's address and creation date: after a change to the
    // store they find it again, wherever it went (or tell that it went).
    char hitAddress[kAddressSize];
    char hitDate[sizeof(EntryRecord::date)];
};

struct SearchHit {
    int folder;
    int note;
    int entry;
};

// The field a target names ("" for a target outside 0..5).
const char* SearchField(const EntryRecord& entry, int target);

// Whether field matches the request's text, on code-page bytes: a match
// starts only at a character's first byte, and ignoring case folds the
// single-byte letters A-Z only, never the second byte of a double-byte
// character. wholeField and matchCase other than 0 or 1 never match.
bool MatchField(const char* field, const SearchRequest& request,
                LeadBytePredicate isLead = IsCp932LeadByte);

// One search step over the snapshot. True with *hit set on a hit (the state
// then names it and counts it); false at the end of the walk, which leaves
// the state idle so that the next step starts afresh.
bool SearchStep(SearchState* state, const SearchRequest& request,
                const std::vector<FolderRecord>& folders, SearchHit* hit,
                LeadBytePredicate isLead = IsCp932LeadByte);

// "[検索] <text>, <count> 個目" into out (size bytes, terminated); the text is
// shortened at a character boundary so that the count always fits.
void FormatSearchStatus(const char* text, int count, char* out, size_t size,
                        LeadBytePredicate isLead = IsCp932LeadByte);
