#pragma once
#include <windows.h>

#include <string>

// Saving never writes the store file in place: the new content goes to a
// temporary file beside it, and only a complete temporary file replaces the
// store (MoveFileEx with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH,
// a rename within one folder). A save that fails or is killed part-way
// leaves the old store as it was.

// The temporary file's name: the store path plus ".tmp", or, when that would
// not fit a path of 259 characters, the store path with its last character
// replaced by "~" (so it always lies beside the store).
std::string TempPathFor(const char* storePath);

// For tests: called between the complete write of the temporary file and
// the replace. A failing result makes the replace fail with it, as a write
// that broke off there would.
using BeforeReplaceHook = HRESULT (*)(const char* tempPath, const char* storePath);

// Replaces storePath by the complete file tempPath (after hook, when given).
// Refuses a store file marked read-only (as Windows does; Wine lets root
// replace it) with E_ACCESSDENIED. On failure the temporary file is deleted
// and the store file is left alone. Returns S_OK or the failure.
HRESULT ReplaceStoreFile(const char* tempPath, const char* storePath, BeforeReplaceHook hook = nullptr);
