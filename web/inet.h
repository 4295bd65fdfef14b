#pragma once
#include <windows.h>
#include <wininet.h>

#include <string>

#include "web/inet_handle.h"

struct PageBytes;

// The program's HTTP client: one object per worker job, on the worker's
// stack. Order of use: construct, OpenInternet, any number of
// QueryLastModified / ReadTitle, CloseInternet, destroy.
class CInet {
public:
    static constexpr int kTitleBufferSize = 520;   // 519 title bytes and a zero
    static constexpr int kDateBufferSize = 11;     // "%d/%02d/%02d" and a zero

    // Last-modified query results.
    static constexpr int kNotOpened = 0;
    static constexpr int kNoDate = 1;
    static constexpr int kDateWritten = 2;

    CInet();
    virtual ~CInet();
    CInet(const CInet&) = delete;
    CInet& operator=(const CInet&) = delete;

    // 1 when the root handle is open; 0 at once when the machine could not
    // go online at construction.
    int OpenInternet();

    // 0: the address cannot be opened; 1: no usable Last-Modified header;
    // 2: its calendar date (as sent, no time-zone shift) written to dateOut,
    // which holds kDateBufferSize bytes. The body is never read.
    int QueryLastModified(const char* address, char* dateOut);

    // The raw bytes between the title tags into titleOut (kTitleBufferSize
    // bytes, zero-filled by the caller; untouched when the address cannot be
    // opened). 1 when a title was found, even an empty one. Reading ends at
    // the closing tag, at the end of data, or after 1 MiB of body.
    int ReadTitle(const char* address, char* titleOut);
    // The same, also keeping the Content-Type header and the body before
    // the title in `page` (its title fields are left alone).
    int ReadTitle(const char* address, char* titleOut, PageBytes* page);

    // Character-set code 0 to 3 of a raw, zero-terminated title.
    int GuessCharset(const char* title);

    // Closes the last request and the root handle.
    void CloseInternet();

private:
    int connectable_;
    InetHandle internet_;   // declared before the request: destroyed after it
    InetHandle request_;
};
