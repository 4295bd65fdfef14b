#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

// Bookmark files on the disk: read whole into memory for an import, and
// written for an export the way the store is saved, to a temporary file
// beside the target that then replaces it (safe_replace.h), so that a
// failed export leaves an existing file as it was.

// Browsers' exports of even 100,000 links stay far below this; a larger
// file is refused before anything is read.
constexpr size_t kMaxBookmarkFileBytes = 64u << 20;

enum class BookmarkFileRead { kRead, kTooLarge, kUnreadable };

// The whole file at path into bytes (emptied first).
BookmarkFileRead ReadBookmarkBytes(const char* path, size_t limit, std::string& bytes);

// Writes bytes as the file at path: S_OK, or the failure, with path untouched.
HRESULT WriteBookmarkBytes(const char* path, const std::string& bytes);
