#pragma once
#include <cstdio>
#include <vector>

#include "store/bookmark_merge.h"

// What the store write does with a merge plan, on records: shared by the
// bookmark file tests and the fuzz target. False when the plan's positions
// do not fit the store or a container would pass its limit.
inline bool ApplyMergePlan(const MergePlan& plan, std::vector<FolderRecord>& store)
{
    for (const PlannedFolder& pf : plan.folders) {
        if (pf.created) {
            if (static_cast<size_t>(pf.position) != store.size())
                return false;
            store.emplace_back();
            snprintf(store.back().name, sizeof store.back().name, "%s", pf.name.c_str());
        }
        if (pf.position < 0 || static_cast<size_t>(pf.position) >= store.size())
            return false;
        FolderRecord& folder = store[static_cast<size_t>(pf.position)];
        for (const PlannedNote& pn : pf.notes) {
            if (pn.created) {
                if (static_cast<size_t>(pn.position) != folder.notes.size())
                    return false;
                folder.notes.emplace_back();
                snprintf(folder.notes.back().name, sizeof folder.notes.back().name, "%s", pn.name.c_str());
            }
            if (pn.position < 0 || static_cast<size_t>(pn.position) >= folder.notes.size())
                return false;
            NoteRecord& note = folder.notes[static_cast<size_t>(pn.position)];
            for (const ImportedEntry& entry : pn.entries) {
                note.entries.emplace_back();
                FillEntryRecord(entry, pf.position, pn.position, static_cast<int>(note.entries.size() - 1),
                                note.entries.back());
            }
            if (note.entries.size() > static_cast<size_t>(kMaxChildren))
                return false;
        }
        if (folder.notes.size() > static_cast<size_t>(kMaxChildren))
            return false;
    }
    return store.size() <= static_cast<size_t>(kMaxChildren);
}
