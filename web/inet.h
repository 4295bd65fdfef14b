#pragma once
#include <windows.h>
#include <wininet.h>

#include <string>

#include "web/inet_handle.h"
#include "web/link_verdict.h"

struct PageBytes;

// The program's HTTP client: one object per worker job, on the worker's
// stack. Order of use: construct, OpenInternet, any number of
// QueryLastModified / ReadTitle / Ask, CloseInternet, destroy.
//
// Every request is bounded: connecting within the connect bound, the whole
// request (headers and the body read) within the total bound. WinINet keeps
// the time-outs it honours on the request handle; the total deadline is
// kept here between reads. A server that drips a byte a second can still
// hold one call past it, so callers never wait for a worker themselves.
class CInet {
public:
    static constexpr int kTitleBufferSize = 520;   // 519 title bytes and a zero
    static constexpr int kDateBufferSize = 11;     // "%d/%02d/%02d" and a zero

    static constexpr DWORD kConnectMs = 10000;
    static constexpr DWORD kTotalMs = 20000;

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

    // Other bounds than kConnectMs and kTotalMs (tests, the link check).
    void SetBounds(DWORD connectMs, DWORD totalMs);

    // One request for the link check, redirects not followed: how it
    // ended, the status, where a redirect points, the Last-Modified date
    // (kNoDate or kDateWritten into date). The body is never read.
    struct Answer {
        LinkFailure failure = LinkFailure::kOther;
        int status = 0;
        std::string location;
        int dateResult = kNoDate;
        char date[kDateBufferSize] = {};
    };
    Answer Ask(const char* address, const char* verb);

private:
    // Opens request_ on the address with the bounds set and sends it; false
    // with *failure set when there is no answer.
    bool OpenRequest(const char* address, const char* verb, bool followRedirects, LinkFailure* failure);
    DWORD Remaining() const;
    void BoundReceive();

    int connectable_;
    DWORD connectMs_ = kConnectMs;
    DWORD totalMs_ = kTotalMs;
    ULONGLONG deadline_ = 0;
    InetHandle internet_;   // declared before its children: destroyed after them
    InetHandle connect_;
    InetHandle request_;
};
