#pragma once
#include <windows.h>

#include <string>

// A failure of the store's XML layer: the store file cannot be read as a
// document (E_POINTER, since it has no root element), a node that was
// expected is missing (E_POINTER), the XML library cannot create a node
// (E_OUTOFMEMORY) or a file operation fails (its own code). Raised inside a
// store operation and caught by its frame, which turns it into the failure
// report; it never leaves the store.
struct StoreFailure {
    HRESULT code;
    int line;                 // the source line that raised it
    std::string source;       // "pugixml" for the library's faults, else "CmyXml"
    std::string description;  // what failed, and where in the file
};

[[noreturn]] void RaiseStoreFailure(HRESULT code, int line, const std::string& description,
                                    const char* source = "CmyXml");

// An expected node that is missing: E_POINTER.
#define STORE_NEED(node, what)                           \
    do {                                                 \
        if (!(node))                                     \
            RaiseStoreFailure(E_POINTER, __LINE__, what); \
    } while (0)

// A node the library could not create (it is out of memory).
#define STORE_MADE(node, what)                               \
    do {                                                     \
        if (!(node))                                         \
            RaiseStoreFailure(E_OUTOFMEMORY, __LINE__, what); \
    } while (0)

// A failing result of a file operation.
#define STORE_CHECK(expr, what)                                  \
    do {                                                         \
        HRESULT storeCheckResult_ = (expr);                      \
        if (FAILED(storeCheckResult_))                           \
            RaiseStoreFailure(storeCheckResult_, __LINE__, what); \
    } while (0)

// The system's text for a result code, or "IDispatch error #n" for an
// interface error number n, or "Unknown error 0x...".
std::string ResultCodeMeaning(HRESULT code);

// The seven-field report:
//   Code: %08lx / Code meaning / Source / Description / Line=%d, File=.\CXml / xml=<store path>
// cut to 1023 characters.
std::string FormatFailureReport(const StoreFailure& failure, const char* storePath);
