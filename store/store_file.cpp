#include "store/store_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "store/file_handle.h"
#include "store/store_failure.h"
#include "store/xml_layout.h"

namespace {

// Store files are a few megabytes; anything near this is not one.
const LONGLONG kLargestStore = 1LL << 30;

std::string ReadProblem(DWORD error)
{
    std::string meaning = ResultCodeMeaning(HRESULT_FROM_WIN32(error));
    char text[512];
    snprintf(text, sizeof text, "the store file cannot be read: %s (error %lu)", meaning.c_str(),
             static_cast<unsigned long>(error));
    return text;
}

HRESULT LastErrorResult()
{
    DWORD error = GetLastError();
    return HRESULT_FROM_WIN32(error != 0 ? error : ERROR_WRITE_FAULT);
}

// The whole file, in memory from pugixml's allocation function (so that a
// document can take it over), or false with the system's error set.
struct FileBytes {
    char* data = nullptr;
    size_t size = 0;
    ~FileBytes()
    {
        if (data != nullptr)
            pugi::get_memory_deallocation_function()(data);
    }
    // Hands the bytes over to their new owner.
    char* Release()
    {
        char* bytes = data;
        data = nullptr;
        return bytes;
    }
};

bool ReadWholeFile(const char* path, FileBytes* bytes)
{
    FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER length;
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &length))
        return false;
    if (length.QuadPart > kLargestStore) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    size_t size = static_cast<size_t>(length.QuadPart);
    // One byte more: an empty file still gets a buffer of its own.
    bytes->data = static_cast<char*>(pugi::get_memory_allocation_function()(size + 1));
    if (bytes->data == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    while (bytes->size < size) {
        DWORD read = 0;
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - bytes->size, 1u << 24));
        if (!ReadFile(file.Get(), bytes->data + bytes->size, chunk, &read, nullptr))
            return false;
        if (read == 0)
            break;   // the file became shorter meanwhile
        bytes->size += read;
    }
    return true;
}

}  // namespace

void LoadStoreDocument(const char* path, pugi::xml_document* doc, LoadProblem* problem, unsigned options)
{
    doc->reset();
    FileBytes bytes;
    if (!ReadWholeFile(path, &bytes)) {
        *problem = LoadProblem{"CmyXml", ReadProblem(GetLastError())};
        return;
    }
    std::string fault;
    size_t offset = 0;
    if (ParseStoreBytes(*doc, bytes.data, bytes.size, &fault, &offset, options)) {
        bytes.Release();
        return;
    }
    bytes.Release();
    // The parse worked on the bytes in place: the position is counted in a
    // fresh read of the file.
    FileBytes again;
    if (ReadWholeFile(path, &again))
        fault += " at " + TextPosition(again.data, again.size, offset);
    *problem = LoadProblem{"pugixml", fault};
}

void WriteStoreDocument(const pugi::xml_document& doc, const char* path, bool indented)
{
    // Others may read the new file, but not write it, while it is written.
    FileHandle file(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        RaiseStoreFailure(LastErrorResult(), __LINE__, "create the new store file");
    HRESULT failed = S_OK;
    LayoutOutput output = [&](const char* data, size_t size) {
        DWORD written = 0;
        if (WriteFile(file.Get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size)
            return true;
        failed = LastErrorResult();
        return false;
    };
    bool ok = indented ? WriteIndentedLayout(doc, output) : WritePlainLayout(doc, output);
    if (!ok)
        RaiseStoreFailure(failed, __LINE__, "write the new store file");
    if (!file.Close())
        RaiseStoreFailure(LastErrorResult(), __LINE__, "close the new store file");
}
