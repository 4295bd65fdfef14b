#pragma once
#include <cstddef>
#include <string>
#include <vector>

// What an import adds to the store, decided before anything is written so
// that one write applies it all (ImportEntries). The bookmark planner fills
// it; the store only reads it.

// One link, ready for the store.
struct ImportedEntry {
    std::string title;    // at most 519 bytes, never empty (the address stands in)
    std::string address;  // at most 1023 bytes
    std::string comment;  // at most 1023 bytes, "-" for none
    char date[11] = {};   // from ADD_DATE, else the import day
    char access[11] = {}; // from LAST_VISIT, else the date
};

struct PlannedNote {
    int position = 0;        // in its folder; a new note comes after the existing ones
    bool created = false;    // a new note, named `name`
    std::string name;
    std::vector<ImportedEntry> entries;   // appended in this order
};

struct PlannedFolder {
    int position = 0;        // in the store; a new folder comes after the existing ones
    bool created = false;    // a new folder, named `name`
    std::string name;
    std::vector<PlannedNote> notes;       // ascending by position
};

struct MergePlan {
    std::vector<PlannedFolder> folders;   // ascending by position
    size_t added = 0;
    size_t duplicates = 0;
    size_t alreadyHeld = 0;               // of those added: the store holds the same address elsewhere
    size_t noRoom = 0;                    // the store holds kMaxChildren folders
};

