#pragma once
#include <vector>

// The in-memory mirror of the store file: fixed-width, zero-terminated ANSI
// (code page 932) fields. Widths include the terminator.

struct EntryRecord {
    char key[12] = {};        // "f-n-e", the entry key
    int folderPos = 0;        // folder position
    int notePos = 0;          // note position
    int entryPos = 0;         // entry position
    char id[4] = {};
    char count[4] = {};
    char valid[5] = {};       // "1" reachable, "0" not
    char date[11] = {};       // registration date "%d/%02d/%02d"
    char access[11] = {};     // last opening or copy
    char update[11] = {};     // server's last modification, or "-"
    char comment[1024] = {};  // "-" when none
    char list[1024] = {};     // the address
    char title[520] = {};
};

struct NoteRecord {
    char id[4] = {};
    char name[260] = {};
    std::vector<EntryRecord> entries;
};

struct FolderRecord {
    char id[4] = {};
    char name[260] = {};
    std::vector<NoteRecord> notes;
};

// The widths of the text fields, terminator included: every box, label
// and buffer that carries one of them takes its size from here.
constexpr int kTitleSize = sizeof(EntryRecord::title);
constexpr int kAddressSize = sizeof(EntryRecord::list);
constexpr int kCommentSize = sizeof(EntryRecord::comment);
constexpr int kNameSize = sizeof(FolderRecord::name);

// Three digits per position: at most 1000 children in any container.
constexpr int kMaxChildren = 1000;
// The access count field holds three digits.
constexpr int kMaxAccessCount = 999;
