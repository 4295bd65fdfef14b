#include "store/safe_replace.h"

#include <cstring>

#include "store/file_handle.h"

namespace {

const size_t kPathLimit = MAX_PATH - 1;

// Writes the file's content through to the disk.
HRESULT FlushToDisk(const char* path)
{
    FileHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE || !FlushFileBuffers(file.Get()))
        return HRESULT_FROM_WIN32(GetLastError());
    return S_OK;
}

}  // namespace

std::string TempPathFor(const char* storePath)
{
    std::string path = storePath != nullptr ? storePath : "";
    if (path.size() + 4 <= kPathLimit)
        return path + ".tmp";
    // Find where the last character starts (it may be a double-byte one).
    const char* last = path.c_str();
    for (const char* p = path.c_str(); *p != '\0'; p = CharNextA(p))
        last = p;
    size_t at = static_cast<size_t>(last - path.c_str());
    char replacement = path[at] == '~' ? '!' : '~';
    return path.substr(0, at) + replacement;
}

HRESULT ReplaceStoreFile(const char* tempPath, const char* storePath, BeforeReplaceHook hook)
{
    HRESULT hr = S_OK;
    if (hook != nullptr)
        hr = hook(tempPath, storePath);
    // The content must be on the disk before the name points at it, or a
    // power cut right after the rename could leave an empty store.
    if (SUCCEEDED(hr))
        hr = FlushToDisk(tempPath);
    if (SUCCEEDED(hr)) {
        DWORD attributes = GetFileAttributesA(storePath);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            hr = E_ACCESSDENIED;
    }
    if (SUCCEEDED(hr) &&
        !MoveFileExA(tempPath, storePath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = GetLastError();
        hr = HRESULT_FROM_WIN32(error != 0 ? error : ERROR_WRITE_FAULT);
    }
    if (FAILED(hr))
        DeleteFileA(tempPath);
    return hr;
}
