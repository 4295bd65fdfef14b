#pragma once
#include <string>
#include <vector>

#include "store/records.h"

class BookmarkPlatform;

// The whole store as one bookmark file in UTF-8, the form browsers import:
// each folder an <H3> with its own <DL>, each note an <H3> inside it, each
// entry an <A> with HREF, ADD_DATE (from `date`) and LAST_VISIT (from
// `access`), a comment other than "-" as <DD>. Read back by
// ReadBookmarkFile it gives every folder and note that holds entries, and
// every title, address, comment and date, unchanged.
std::string WriteBookmarkFile(const std::vector<FolderRecord>& store, const BookmarkPlatform& platform);
