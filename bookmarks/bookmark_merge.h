#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "bookmarks/bookmark_import.h"
#include "store/import_plan.h"
#include "store/records.h"

// Where the links of an import go in the store, decided before anything is
// written so that one write applies it all:
// - a folder or note whose name has exactly the same bytes receives the
//   links (the first of equal names);
// - a link whose address its destination already holds, or that an earlier
//   link of the same import put there, is a duplicate;
// - no container takes more than kMaxChildren children: a full note goes on
//   in "name (2)", "name (3)"..., a full folder likewise, and a duplicate is
//   looked for in every part of such a chain; links that would need a
//   folder beyond the store's last are refused.

// Pure: reads the snapshot, consumes the import's notes.
MergePlan PlanMerge(const std::vector<FolderRecord>& store, std::vector<ImportedNote> import);

// Applies the plan to records of the store (the snapshot it was made
// from, or a copy): the records the store holds once the plan is written.
// False, with the records partly changed, when the plan does not fit them.
bool ApplyMergePlan(const MergePlan& plan, std::vector<FolderRecord>& store);

// An entry record for the store at the given positions: the values of
// `entry`, count "1", valid "1", update "-", id and key from the positions.
void FillEntryRecord(const ImportedEntry& entry, int folder, int note, int position,
                     EntryRecord& record);
