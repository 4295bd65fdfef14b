// The search's walk and matching over hand-made snapshots; no window code,
// also built natively with sanitizers. Japanese text is written as code
// page 932 bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ui/search_engine.h"

namespace {

// Folders of notes of entry titles.
std::vector<FolderRecord> Snapshot(const std::vector<std::vector<std::vector<const char*>>>& folders)
{
    std::vector<FolderRecord> out(folders.size());
    for (size_t f = 0; f < folders.size(); ++f) {
        for (const auto& titles : folders[f]) {
            out[f].notes.emplace_back();
            for (const char* title : titles) {
                out[f].notes.back().entries.emplace_back();
                out[f].notes.back().entries.back().title = title;
            }
        }
    }
    return out;
}

SearchRequest Request(const char* text, int downward = 1, bool fromDialog = true,
                      int target = kSearchTitle, int wholeField = 0, int matchCase = 0)
{
    static int dialog;
    SearchRequest r = {};
    snprintf(r.text, sizeof r.text, "%s", text);
    r.target = target;
    r.wholeField = wholeField;
    r.matchCase = matchCase;
    r.downward = downward;
    r.dialog = fromDialog ? &dialog : nullptr;
    return r;
}

// A step's outcome: "f-n-e #count" for a hit, "end" when the run ended idle.
std::string Step(SearchState* state, const std::vector<FolderRecord>& folders, const SearchRequest& r)
{
    SearchHit hit = {};
    if (!SearchStep(state, r, folders, &hit))
        return state->inProgress || state->lastText[0] != '\0' ? "end, still running" : "end";
    return std::to_string(hit.folder) + "-" + std::to_string(hit.note) + "-" + std::to_string(hit.entry) +
           " #" + std::to_string(state->hitCount);
}

// Folder 0: [apple, banana], [cherry apple]; 1: [], [Apple pie, grape]; 2: [date].
std::vector<FolderRecord> Fruit()
{
    return Snapshot({{{"apple", "banana"}, {"cherry apple"}}, {{}, {"Apple pie", "grape"}}, {{"date"}}});
}

using Steps = std::vector<std::pair<SearchRequest, const char*>>;

}  // namespace

TEST(SearchEngine, StepsThroughTheRuns)
{
    const SearchRequest apple = Request("apple");
    const SearchRequest appleUpF3 = Request("apple", 0, false);
    const struct {
        const char* name;
        Steps steps;
    } scenarios[] = {
        {"forward to the end, then afresh",
         {{apple, "0-0-0 #1"}, {apple, "0-1-0 #2"}, {apple, "1-1-0 #3"}, {apple, "end"}, {apple, "0-0-0 #1"}}},
        {"counting back and forth",
         {{apple, "0-0-0 #1"}, {apple, "0-1-0 #2"}, {apple, "1-1-0 #3"},
          {appleUpF3, "0-1-0 #2"}, {appleUpF3, "0-0-0 #1"}, {appleUpF3, "end"}}},
        {"a new text in the dialog starts afresh at the first entry",
         {{apple, "0-0-0 #1"}, {apple, "0-1-0 #2"}, {Request("app"), "0-0-0 #1"}}},
        {"a new text from the main window goes on after the last hit",
         {{apple, "0-0-0 #1"}, {Request("cherry", 1, false), "0-1-0 #2"}}},
        {"backward from a fresh start begins with the last entry",
         {{Request("a", 0), "2-0-0 #1"}, {Request("a", 0), "1-1-1 #2"}, {Request("a", 1), "2-0-0 #1"}}},
        {"nothing matches", {{Request("kiwi"), "end"}, {Request("kiwi", 0), "end"}}},
    };
    for (const auto& s : scenarios) {
        SearchState state = {};
        for (size_t i = 0; i < s.steps.size(); ++i)
            EXPECT_EQ(Step(&state, Fruit(), s.steps[i].first), s.steps[i].second) << s.name << ", step " << i;
    }
}

TEST(SearchEngine, EmptyStoresAndAShrunkenStoreStayInside)
{
    SearchState state = {};
    EXPECT_EQ(Step(&state, {}, Request("a", 0)), "end");
    EXPECT_EQ(Step(&state, Snapshot({{}, {{}}}), Request("a", 0)), "end");

    // The run goes on from where the last hit stood (what stands before it
    // was passed already); without that place it starts afresh.
    const struct {
        const char* name;
        std::vector<FolderRecord> store;
        const char* next;
    } shrunk[] = {
        {"folder gone", Snapshot({{{"apple"}}}), "0-0-0 #1"},
        {"note gone", Snapshot({{{"x"}}, {{"apple"}}}), "end"},
        {"entry gone", Snapshot({{{"x"}}, {{}, {"apple"}}}), "end"},
    };
    for (const auto& c : shrunk) {
        SearchState running = {};
        Step(&running, Fruit(), Request("a", 0));
        ASSERT_EQ(Step(&running, Fruit(), Request("a", 0)), "1-1-1 #2");
        EXPECT_EQ(Step(&running, c.store, Request("apple", 1, false)), c.next) << c.name;
    }
}

TEST(SearchEngine, MatchRules)
{
    const struct {
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
    for (const auto& c : cases) {
        EXPECT_EQ(MatchField(c.field, Request(c.text, 1, true, kSearchTitle, c.whole, c.matchCase)), c.match)
            << "[" << c.field << "] [" << c.text << "] whole " << c.whole << " case " << c.matchCase;
    }
}

TEST(SearchEngine, TargetsNameTheirFieldsAndDatesAreTexts)
{
    EntryRecord e;
    e.title = "title";
    e.list = "http://b.example/";
    e.comment = "note about b";
    snprintf(e.date, sizeof e.date, "2023/12/31");
    snprintf(e.access, sizeof e.access, "2024/05/02");
    snprintf(e.update, sizeof e.update, "-");
    const struct {
        int target;
        const char* text;
        int whole;
        bool match;
    } cases[] = {
        {kSearchTitle, "title", 1, true}, {kSearchAddress, "b.example", 0, true},
        {kSearchComment, "ABOUT", 0, true}, {kSearchCreated, "2023/12", 0, true},
        {kSearchCreated, "2023/12", 1, false}, {kSearchLastAccess, "2024/05/02", 1, true},
        {kSearchUpdated, "-", 1, true}, {kSearchTitle, "b.example", 0, false}, {9, "t", 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchField(SearchField(e, c.target), Request(c.text, 1, true, c.target, c.whole)), c.match)
            << "target " << c.target << " [" << c.text << "]";
}

TEST(SearchEngine, StatusTextIsCutAtACharacterBoundary)
{
    const std::string head = "[\x8C\x9F\x8D\xF5] ";   // [検索]
    const std::string unit = "\x8C\xC2\x96\xDA";      // 個目
    std::string kana;
    for (int i = 0; i < 150; ++i)
        kana += "\x82\xA0";   // あ
    // 259 bytes in all: 7 before the text, 8 after it (9 from count 10).
    const struct {
        std::string text;
        int count;
        std::string expected;
    } cases[] = {
        {"apple", 3, head + "apple, 3 " + unit},
        {"apple", -1, head + "apple, -1 " + unit},
        {std::string(300, 'x'), 1, head + std::string(244, 'x') + ", 1 " + unit},
        {"x" + kana, 1, head + "x" + kana.substr(0, 242) + ", 1 " + unit},
        {"xx" + kana, 1, head + "xx" + kana.substr(0, 242) + ", 1 " + unit},
        {"xx" + kana, 10, head + "xx" + kana.substr(0, 240) + ", 10 " + unit},
    };
    for (const auto& c : cases) {
        char out[260];
        FormatSearchStatus(c.text.c_str(), c.count, out, sizeof out);
        EXPECT_EQ(std::string(out), c.expected) << c.text.size() << " bytes, count " << c.count;
    }
}
