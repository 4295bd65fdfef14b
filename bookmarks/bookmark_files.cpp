#include "bookmarks/bookmark_files.h"

#include <algorithm>

#include "store/file_handle.h"
#include "store/safe_replace.h"

namespace {

HRESULT LastErrorResult()
{
    const DWORD error = GetLastError();
    return HRESULT_FROM_WIN32(error != 0 ? error : ERROR_WRITE_FAULT);
}

}  // namespace

BookmarkFileRead ReadBookmarkBytes(const char* path, size_t limit, std::string& bytes)
{
    bytes.clear();
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER length;
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &length))
        return BookmarkFileRead::kUnreadable;
    if (length.QuadPart > static_cast<LONGLONG>(limit))
        return BookmarkFileRead::kTooLarge;
    bytes.resize(static_cast<size_t>(length.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        if (!ReadFile(file.Get(), &bytes[done], chunk, &read, nullptr)) {
            bytes.clear();
            return BookmarkFileRead::kUnreadable;
        }
        if (read == 0)
            break;   // the file became shorter meanwhile
        done += read;
    }
    bytes.resize(done);
    return BookmarkFileRead::kRead;
}

HRESULT WriteBookmarkBytes(const char* path, const std::string& bytes)
{
    const std::string temp = TempPathFor(path);
    HRESULT result = S_OK;
    {
        FileHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid())
            return LastErrorResult();
        size_t done = 0;
        while (done < bytes.size() && SUCCEEDED(result)) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
            if (!WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written != chunk)
                result = LastErrorResult();
            done += written;
        }
        if (!file.Close() && SUCCEEDED(result))
            result = LastErrorResult();
    }
    if (FAILED(result)) {
        DeleteFileA(temp.c_str());
        return result;
    }
    // Deletes the temporary file itself when it fails.
    return ReplaceStoreFile(temp.c_str(), path);
}
