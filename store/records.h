#pragma once
#include <vector>

#include "store/record_text.h"

// The in-memory mirror of the store file: zero-terminated ANSI (code page
// 932) values. The short ones are fixed-width fields; the long ones are
// RecordText, held to their widths (below) wherever a value enters the
// program. Widths include the terminator.

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
    RecordText comment;       // "-" when none
    RecordText list;          // the address
    RecordText title;
};

struct NoteRecord {
    char id[4] = {};
    RecordText name;
    std::vector<EntryRecord> entries;
};

struct FolderRecord {
    char id[4] = {};
    RecordText name;
    std::vector<NoteRecord> notes;
};

// The widths of the text fields, terminator included: every box, label
// and buffer that carries one of them takes its size from here.
constexpr int kTitleSize = 520;
constexpr int kAddressSize = 1024;
constexpr int kCommentSize = 1024;
constexpr int kNameSize = 260;

// Three digits per position: at most 1000 children in any container.
constexpr int kMaxChildren = 1000;
// The access count field holds three digits.
constexpr int kMaxAccessCount = 999;
