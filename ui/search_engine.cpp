#include "ui/search_engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

unsigned char FoldLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// Whether the length bytes of needle stand at field, both starting at a
// character's first byte. Single-byte characters compare with or without
// case, second bytes always as they are. Equal first bytes are both lead
// bytes or both not, so the two texts stay in step character by character.
bool SameCharacters(const unsigned char* field, const unsigned char* needle, size_t length,
                    bool foldCase, LeadBytePredicate isLead)
{
    bool secondByte = false;
    for (size_t i = 0; i < length; ++i) {
        unsigned char a = field[i];
        unsigned char b = needle[i];
        if (secondByte) {
            if (a != b)
                return false;
            secondByte = false;
            continue;
        }
        if (foldCase ? FoldLetter(a) != FoldLetter(b) : a != b)
            return false;
        secondByte = isLead(b);
    }
    return true;
}

bool Contains(const unsigned char* field, size_t fieldLength, const unsigned char* needle,
              size_t needleLength, bool foldCase, LeadBytePredicate isLead)
{
    if (needleLength == 0)
        return true;
    const unsigned char first = foldCase ? FoldLetter(needle[0]) : needle[0];
    size_t i = 0;
    while (i + needleLength <= fieldLength) {
        unsigned char c = foldCase ? FoldLetter(field[i]) : field[i];
        if (c == first && SameCharacters(field + i, needle, needleLength, foldCase, isLead))
            return true;
        i += (isLead(field[i]) && i + 1 < fieldLength) ? 2 : 1;
    }
    return false;
}

bool IsHit(const EntryRecord& entry, const SearchState& state)
{
    return strncmp(entry.list, state.hitAddress, sizeof state.hitAddress) == 0 &&
           strncmp(entry.date, state.hitDate, sizeof state.hitDate) == 0;
}

const EntryRecord* EntryAtState(const std::vector<FolderRecord>& folders, const SearchState& state)
{
    if (state.folder < 0 || static_cast<size_t>(state.folder) >= folders.size())
        return nullptr;
    const std::vector<NoteRecord>& notes = folders[static_cast<size_t>(state.folder)].notes;
    if (state.note < 0 || static_cast<size_t>(state.note) >= notes.size())
        return nullptr;
    const std::vector<EntryRecord>& entries = notes[static_cast<size_t>(state.note)].entries;
    if (state.entry < 0 || static_cast<size_t>(state.entry) >= entries.size())
        return nullptr;
    return &entries[static_cast<size_t>(state.entry)];
}

// Where the walk resumes after the last hit. The store may have changed
// since: the hit is looked for where it was, then in its note, then
// anywhere; a hit that is gone leaves the walk at its old place, so that
// the entries that moved up into it are not skipped. False when nothing
// is left to resume from.
bool ResumeAfterHit(const std::vector<FolderRecord>& folders, SearchState* state, int downward)
{
    const EntryRecord* at = EntryAtState(folders, *state);
    if (at != nullptr && IsHit(*at, *state))
        return true;
    // An entry without an address cannot be told from another.
    for (int pass = 0; pass < 2 && state->hitAddress[0] != '\0'; ++pass) {
        for (size_t f = 0; f < folders.size(); ++f) {
            if (pass == 0 && static_cast<int>(f) != state->folder)
                continue;
            const std::vector<NoteRecord>& notes = folders[f].notes;
            for (size_t n = 0; n < notes.size(); ++n) {
                if (pass == 0 && static_cast<int>(n) != state->note)
                    continue;
                const std::vector<EntryRecord>& entries = notes[n].entries;
                for (size_t e = 0; e < entries.size(); ++e) {
                    if (IsHit(entries[e], *state)) {
                        state->folder = static_cast<int>(f);
                        state->note = static_cast<int>(n);
                        state->entry = static_cast<int>(e);
                        return true;
                    }
                }
            }
        }
    }
    if (state->folder < 0 || static_cast<size_t>(state->folder) >= folders.size())
        return false;
    const std::vector<NoteRecord>& notes = folders[static_cast<size_t>(state->folder)].notes;
    if (state->note < 0 || static_cast<size_t>(state->note) >= notes.size()) {
        // Its note went: on from the note that took its place.
        if (!downward)
            return false;
        state->entry = -1;
        return true;
    }
    // Forward: what now stands at the old place is the next candidate.
    if (downward)
        --state->entry;
    return true;
}

void StartAfresh(SearchState* state, int downward, size_t folderCount)
{
    state->folder = (downward || folderCount == 0) ? 0 : static_cast<int>(folderCount) - 1;
    state->note = 0;
    state->entry = 0;
    state->lastText[0] = '\0';
    state->hitCount = 0;
    state->startDirection = downward;
    state->inProgress = false;
}

class Walk {
public:
    Walk(const SearchState& state, const SearchRequest& request,
         const std::vector<FolderRecord>& folders, LeadBytePredicate isLead)
        : state_(state), request_(request), folders_(folders), isLead_(isLead)
    {
    }

    // While a run is in progress the walk resumes just past the last hit;
    // otherwise it covers every entry from the first (or the last) on.
    bool Forward(SearchHit* hit) const
    {
        const bool resume = state_.inProgress;
        for (size_t f = static_cast<size_t>(state_.folder); f < folders_.size(); ++f) {
            const std::vector<NoteRecord>& notes = folders_[f].notes;
            const bool firstFolder = resume && f == static_cast<size_t>(state_.folder);
            for (size_t n = firstFolder ? static_cast<size_t>(state_.note) : 0; n < notes.size(); ++n) {
                const std::vector<EntryRecord>& entries = notes[n].entries;
                size_t e = (firstFolder && n == static_cast<size_t>(state_.note))
                               ? static_cast<size_t>(state_.entry) + 1 : 0;
                for (; e < entries.size(); ++e) {
                    if (Matches(entries[e]))
                        return Found(f, n, e, hit);
                }
            }
        }
        return false;
    }

    bool Backward(SearchHit* hit) const
    {
        const bool resume = state_.inProgress;
        if (folders_.empty())
            return false;
        for (int f = state_.folder; f >= 0; --f) {
            const std::vector<NoteRecord>& notes = folders_[static_cast<size_t>(f)].notes;
            const bool firstFolder = resume && f == state_.folder;
            for (int n = firstFolder ? state_.note : static_cast<int>(notes.size()) - 1; n >= 0; --n) {
                const std::vector<EntryRecord>& entries = notes[static_cast<size_t>(n)].entries;
                int e = (firstFolder && n == state_.note) ? state_.entry - 1
                                                          : static_cast<int>(entries.size()) - 1;
                e = std::min(e, static_cast<int>(entries.size()) - 1);
                for (; e >= 0; --e) {
                    if (Matches(entries[static_cast<size_t>(e)]))
                        return Found(f, n, e, hit);
                }
            }
        }
        return false;
    }

private:
    bool Matches(const EntryRecord& entry) const
    {
        return MatchField(SearchField(entry, request_.target), request_, isLead_);
    }
    static bool Found(size_t f, size_t n, size_t e, SearchHit* hit)
    {
        *hit = SearchHit{static_cast<int>(f), static_cast<int>(n), static_cast<int>(e)};
        return true;
    }

    const SearchState& state_;
    const SearchRequest& request_;
    const std::vector<FolderRecord>& folders_;
    LeadBytePredicate isLead_;
};

}  // namespace

const char* SearchField(const EntryRecord& entry, int target)
{
    switch (target) {
    case kSearchTitle: return entry.title;
    case kSearchAddress: return entry.list;
    case kSearchComment: return entry.comment;
    case kSearchCreated: return entry.date;
    case kSearchLastAccess: return entry.access;
    case kSearchUpdated: return entry.update;
    default: return "";
    }
}

bool MatchField(const char* field, const SearchRequest& request, LeadBytePredicate isLead)
{
    const auto* f = reinterpret_cast<const unsigned char*>(field);
    const auto* t = reinterpret_cast<const unsigned char*>(request.text);
    const size_t fieldLength = strnlen(field, kSearchTextSize - 1);
    const size_t textLength = strnlen(request.text, kSearchTextSize - 1);
    if (request.wholeField == 0 && (request.matchCase == 0 || request.matchCase == 1))
        return Contains(f, fieldLength, t, textLength, request.matchCase == 0, isLead);
    if (request.wholeField == 1 && (request.matchCase == 0 || request.matchCase == 1))
        return fieldLength == textLength &&
               SameCharacters(f, t, textLength, request.matchCase == 0, isLead);
    return false;
}

bool SearchStep(SearchState* state, const SearchRequest& request,
                const std::vector<FolderRecord>& folders, SearchHit* hit, LeadBytePredicate isLead)
{
    const int downward = request.downward != 0 ? 1 : 0;
    const bool newText = request.dialog != nullptr &&
                         strncmp(request.text, state->lastText, kSearchTextSize) != 0;
    if (newText || !state->inProgress || !ResumeAfterHit(folders, state, downward))
        StartAfresh(state, downward, folders.size());

    Walk walk(*state, request, folders, isLead);
    if (downward ? walk.Forward(hit) : walk.Backward(hit)) {
        snprintf(state->lastText, sizeof state->lastText, "%.*s",
                 static_cast<int>(strnlen(request.text, kSearchTextSize - 1)), request.text);
        state->folder = hit->folder;
        state->note = hit->note;
        state->entry = hit->entry;
        const EntryRecord& found = folders[static_cast<size_t>(hit->folder)]
                                       .notes[static_cast<size_t>(hit->note)]
                                       .entries[static_cast<size_t>(hit->entry)];
        snprintf(state->hitAddress, sizeof state->hitAddress, "%s", found.list.c_str());
        snprintf(state->hitDate, sizeof state->hitDate, "%s", found.date);
        state->hitCount += downward == state->startDirection ? 1 : -1;
        state->inProgress = true;
        return true;
    }
    state->folder = 0;
    state->note = 0;
    state->entry = 0;
    state->lastText[0] = '\0';
    state->inProgress = false;
    return false;
}

void FormatSearchStatus(const char* text, int count, char* out, size_t size, LeadBytePredicate isLead)
{
    if (size == 0)
        return;
    // "[検索] " and " 個目" as code page 932 bytes: the native build of this
    // file has no other way to say them.
    static const char head[] = "[\x8C\x9F\x8D\xF5] ";
    char tail[32];
    snprintf(tail, sizeof tail, ", %d \x8C\xC2\x96\xDA", count);
    const size_t fixed = (sizeof head - 1) + strlen(tail);
    const size_t room = size - 1 > fixed ? size - 1 - fixed : 0;
    const size_t length = CutLength(text, strnlen(text, kSearchTextSize - 1), room, isLead);
    snprintf(out, size, "%s%.*s%s", head, static_cast<int>(length), text, tail);
}
