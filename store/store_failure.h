#pragma once
#include <windows.h>

#include <string>

// A failure of the store's XML layer: a failing COM call, or a node that was
// expected and is missing (E_POINTER). Raised inside a store operation and
// caught by its frame, which turns it into the failure report; it never
// leaves the store.
struct StoreFailure {
    HRESULT code;
    int line;                 // the source line that raised it
    std::string source;       // from the COM error object, or "CmyXml"
    std::string description;  // from the COM error object, or what failed
};

// Raises a StoreFailure for a failing COM call, taking source and
// description from the thread's COM error object when there is one.
[[noreturn]] void RaiseStoreFailure(HRESULT code, int line, const char* what);
// Raises a StoreFailure that carries no COM error object (a missing node, a
// failed file operation).
[[noreturn]] void RaisePlainFailure(HRESULT code, int line, const char* what);

#define STORE_CHECK(expr, what)                                  \
    do {                                                         \
        HRESULT storeCheckResult_ = (expr);                      \
        if (FAILED(storeCheckResult_))                           \
            RaiseStoreFailure(storeCheckResult_, __LINE__, what); \
    } while (0)

// An expected node that is missing: E_POINTER.
#define STORE_NEED(node, what)                           \
    do {                                                 \
        if (!(node))                                     \
            RaisePlainFailure(E_POINTER, __LINE__, what); \
    } while (0)

// A failing result of something other than a COM call.
#define STORE_CHECK_PLAIN(expr, what)                            \
    do {                                                         \
        HRESULT storeCheckResult_ = (expr);                      \
        if (FAILED(storeCheckResult_))                           \
            RaisePlainFailure(storeCheckResult_, __LINE__, what); \
    } while (0)

// The system's text for a result code, or "IDispatch error #n" for an
// interface error number n, or "Unknown error 0x...".
std::string ResultCodeMeaning(HRESULT code);

// The seven-field report:
//   Code: %08lx / Code meaning / Source / Description / Line=%d, File=.\CXml / xml=<store path>
// cut to 1023 characters.
std::string FormatFailureReport(const StoreFailure& failure, const char* storePath);
