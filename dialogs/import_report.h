#pragma once
#include <string>

struct BookmarkImport;
struct MergePlan;

// The text of the message box that ends an import: what was added, what
// was skipped as a duplicate, and what could not be taken, one line for
// each reason that occurred; a file that ended early is said to be read
// only in part.
std::string ImportSummary(const BookmarkImport& read, const MergePlan& plan);
