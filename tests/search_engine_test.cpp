// The search's walk and matching over hand-made snapshots; no window code,
// also built natively with sanitizers. Japanese text is written as code
// page 932 bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ui/search_engine.h"

namespace {

using Titles = std::vector<const char*>;
using Notes = std::vector<Titles>;

EntryRecord Entry(const char* title, const char* date = "2024/05/01", const char* update = "-")
{
    EntryRecord e;
    snprintf(e.title, sizeof e.title, "%s", title);
    snprintf(e.date, sizeof e.date, "%s", date);
    snprintf(e.access, sizeof e.access, "2024/05/02");
    snprintf(e.update, sizeof e.update, "%s", update);
    snprintf(e.list, sizeof e.list, "http://example.com/");
    snprintf(e.comment, sizeof e.comment, "-");
    return e;
}

std::vector<FolderRecord> Snapshot(const std::vector<Notes>& folders)
{
    std::vector<FolderRecord> out(folders.size());
    for (size_t f = 0; f < folders.size(); ++f) {
        for (const Titles& titles : folders[f]) {
            NoteRecord note;
            for (const char* title : titles)
                note.entries.push_back(Entry(title));
            out[f].notes.push_back(note);
        }
    }
    return out;
}

SearchRequest Request(const char* text, int downward = 1, bool fromDialog = true,
                      int target = kSearchTitle, int wholeField = 0, int matchCase = 0)
{
    SearchRequest r = {};
    snprintf(r.text, sizeof r.text, "%s", text);
    r.target = target;
    r.wholeField = wholeField;
    r.matchCase = matchCase;
    r.downward = downward;
    static int dialog;
    r.dialog = fromDialog ? &dialog : nullptr;
    return r;
}

// One request and what it must give: a hit and the count, or the end (f -1).
struct Step {
    SearchRequest request;
    int f, n, e, count;
};

void RunSteps(const std::vector<FolderRecord>& folders, const std::vector<Step>& steps,
              SearchState* state)
{
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        SearchHit hit = {-1, -1, -1};
        bool found = SearchStep(state, s.request, folders, &hit);
        SCOPED_TRACE("step " + std::to_string(i) + " \"" + s.request.text + "\"");
        if (s.f < 0) {
            EXPECT_FALSE(found);
            EXPECT_FALSE(state->inProgress);
            EXPECT_STREQ(state->lastText, "");
            continue;
        }
        ASSERT_TRUE(found);
        EXPECT_EQ(hit.folder, s.f);
        EXPECT_EQ(hit.note, s.n);
        EXPECT_EQ(hit.entry, s.e);
        EXPECT_EQ(state->hitCount, s.count);
        EXPECT_TRUE(state->inProgress);
    }
}

// Folder 0: [apple, banana], [cherry apple]; folder 1: [], [Apple pie,
// grape]; folder 2: [date].
std::vector<FolderRecord> Fruit()
{
    return Snapshot({{{"apple", "banana"}, {"cherry apple"}},
                     {{}, {"Apple pie", "grape"}},
                     {{"date"}}});
}

const int kEnd = -1;

}  // namespace

TEST(SearchEngine, StepsThroughTheRuns)
{
    struct Scenario {
        const char* name;
        std::vector<Step> steps;
    } scenarios[] = {
        {"forward to the end, then a fresh start",
         {{Request("apple"), 0, 0, 0, 1},
          {Request("apple"), 0, 1, 0, 2},
          {Request("apple"), 1, 1, 0, 3},
          {Request("apple"), kEnd, 0, 0, 0},
          {Request("apple"), 0, 0, 0, 1}}},
        {"counting back and forth",
         {{Request("apple"), 0, 0, 0, 1},
          {Request("apple"), 0, 1, 0, 2},
          {Request("apple"), 1, 1, 0, 3},
          {Request("apple", 0, false), 0, 1, 0, 2},
          {Request("apple", 0, false), 0, 0, 0, 1},
          {Request("apple", 0, false), kEnd, 0, 0, 0}}},
        {"a changed text in the dialog starts afresh at the first entry",
         {{Request("apple"), 0, 0, 0, 1},
          {Request("apple"), 0, 1, 0, 2},
          {Request("app"), 0, 0, 0, 1}}},
        {"a changed text from the main window continues after the last hit",
         {{Request("apple"), 0, 0, 0, 1},
          {Request("cherry", 1, false), 0, 1, 0, 2}}},
        {"backward from a fresh start begins with the last entry",
         {{Request("a", 0), 2, 0, 0, 1},
          {Request("a", 0), 1, 1, 1, 2},
          {Request("a", 0), 1, 1, 0, 3},
          {Request("a", 1), 1, 1, 1, 2}}},
        {"nothing matches",
         {{Request("kiwi"), kEnd, 0, 0, 0}, {Request("kiwi", 0), kEnd, 0, 0, 0}}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        SearchState state = {};
        RunSteps(Fruit(), s.steps, &state);
    }
}

TEST(SearchEngine, AnEmptyStoreEndsAtOnceInBothDirections)
{
    SearchState state = {};
    RunSteps({}, {{Request("a", 1), kEnd, 0, 0, 0}, {Request("a", 0), kEnd, 0, 0, 0}}, &state);
    RunSteps(Snapshot({{}, {{}}}), {{Request("a", 0), kEnd, 0, 0, 0}}, &state);
}

TEST(SearchEngine, AShrunkenStoreStartsAfresh)
{
    SearchState state = {};
    RunSteps(Fruit(), {{Request("a", 0), 2, 0, 0, 1}, {Request("a", 0), 1, 1, 1, 2}}, &state);
    struct Case {
        const char* name;
        std::vector<FolderRecord> folders;
    } cases[] = {
        {"folder gone", Snapshot({{{"apple"}}})},
        {"note gone", Snapshot({{{"x"}}, {{"apple"}}})},
        {"entry gone", Snapshot({{{"x"}}, {{}, {"apple"}}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SearchState shrunk = state;
        SearchHit hit = {};
        ASSERT_TRUE(SearchStep(&shrunk, Request("apple", 1, false), c.folders, &hit));
        EXPECT_EQ(shrunk.hitCount, 1) << "a fresh run";
        EXPECT_EQ(SearchField(c.folders[hit.folder].notes[hit.note].entries[hit.entry], kSearchTitle),
                  std::string("apple"));
    }
}

TEST(SearchEngine, MatchRules)
{
    struct Case {
        const char* field;
        const char* text;
        int whole, matchCase;
        bool match;
    } cases[] = {
        {"Apple pie", "apple", 0, 0, true},
        {"Apple pie", "PIE", 0, 0, true},
        {"Apple pie", "apple", 0, 1, false},
        {"Apple pie", "Apple", 0, 1, true},
        {"Apple pie", "Apple", 1, 1, false},
        {"Apple pie", "apple PIE", 1, 0, true},
        {"Apple pie", "Apple pie", 1, 1, true},
        {"Apple pie", "Apple pi", 1, 0, false},
        {"", "a", 0, 0, false},
        {"", "a", 1, 0, false},
        {"abc", "abcd", 0, 0, false},
        {"Apple", "apple", 2, 0, false},
        {"Apple", "Apple", 0, 2, false},
        // Code page 932: ア 83 41, ヂ 83 61, ャ 83 83, 表 95 5C, 資料 8E 91 97 BF.
        {"\x83\x41\x83\x43", "A", 0, 0, false},
        {"\x83\x41\x83\x43", "a", 0, 0, false},
        {"\x83\x41\x83\x43", "A", 0, 1, false},
        {"\x83\x61", "\x83\x41", 0, 0, false},
        {"\x83\x61", "\x83\x41", 1, 0, false},
        {"\x83\x83\x41", "\x83\x41", 0, 1, false},
        {"\x83\x83\x41", "A", 0, 1, true},
        {"\x95\x5C", "\\", 0, 0, false},
        {"\x8E\x91\x97\xBF\x83\x41", "\x83\x41", 0, 0, true},
        {"x\x8E\x91\x97\xBF" "A", "\x97\xBF" "a", 0, 0, true},
        {"\x83\x41" "ABC", "\x83\x41" "abc", 1, 0, true},
    };
    for (const Case& c : cases) {
        SearchRequest r = Request(c.text, 1, true, kSearchTitle, c.whole, c.matchCase);
        EXPECT_EQ(MatchField(c.field, r), c.match)
            << "[" << c.field << "] [" << c.text << "] whole " << c.whole << " case " << c.matchCase;
    }
}

TEST(SearchEngine, TargetsAndDatesAsTexts)
{
    std::vector<FolderRecord> folders = Snapshot({{{"a", "b", "c"}}});
    EntryRecord& second = folders[0].notes[0].entries[1];
    snprintf(second.date, sizeof second.date, "2023/12/31");
    snprintf(second.update, sizeof second.update, "2024/06/09");
    snprintf(second.comment, sizeof second.comment, "note about b");
    snprintf(second.list, sizeof second.list, "http://b.example/");
    struct Case {
        int target;
        const char* text;
        int whole;
        int entry;   // -1: no hit
    } cases[] = {
        {kSearchCreated, "2023/12", 0, 1},
        {kSearchCreated, "2023/12", 1, -1},
        {kSearchUpdated, "2024/06/09", 1, 1},
        {kSearchUpdated, "-", 1, 0},
        {kSearchLastAccess, "2024/05/02", 1, 0},
        {kSearchComment, "ABOUT", 0, 1},
        {kSearchAddress, "b.example", 0, 1},
        {kSearchTitle, "c", 1, 2},
        {9, "a", 0, -1},
    };
    for (const Case& c : cases) {
        SearchState state = {};
        SearchHit hit = {};
        bool found = SearchStep(&state, Request(c.text, 1, true, c.target, c.whole), folders, &hit);
        EXPECT_EQ(found ? hit.entry : -1, c.entry) << "target " << c.target << " [" << c.text << "]";
    }
}

TEST(SearchEngine, StatusTextIsCutAtACharacterBoundary)
{
    const std::string head = "[\x8C\x9F\x8D\xF5] ";
    const std::string unit = "\x8C\xC2\x96\xDA";   // 個目
    std::string a300;
    for (int i = 0; i < 150; ++i)
        a300 += "\x82\xA0";   // あ
    struct Case {
        std::string text;
        int count;
        std::string expected;
    } cases[] = {
        {"apple", 3, head + "apple, 3 " + unit},
        {"apple", -1, head + "apple, -1 " + unit},
        // 259 bytes in all: 7 before the text, 8 after it (9 from count 10).
        {std::string(300, 'x'), 1, head + std::string(244, 'x') + ", 1 " + unit},
        {"x" + a300, 1, head + "x" + a300.substr(0, 242) + ", 1 " + unit},
        {"xx" + a300, 1, head + "xx" + a300.substr(0, 242) + ", 1 " + unit},
        {"xx" + a300, 10, head + "xx" + a300.substr(0, 240) + ", 10 " + unit},
    };
    for (const Case& c : cases) {
        char out[260];
        memset(out, 'z', sizeof out);
        FormatSearchStatus(c.text.c_str(), c.count, out, sizeof out);
        EXPECT_EQ(std::string(out), c.expected) << c.text.size() << " bytes, count " << c.count;
        EXPECT_LE(strlen(out), 259u);
    }
}
