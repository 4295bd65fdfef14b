#include "web/inet.h"

#include <cstdio>
#include <cstring>

#include "web/charset_guess.h"
#include "web/http_date.h"
#include "web/page_charset.h"
#include "web/title_scan.h"

namespace {

const char kAgent[] = "linkcairn";
const DWORD kChunkRead = 1023;

static_assert(sizeof(SYSTEMTIME) == 16, "the Last-Modified query fills a 16-byte record");

// Wine 8 crashes inside HttpQueryInfo when asked for the SYSTEMTIME of a
// date it cannot read (a one-digit day, the RFC 850 and asctime forms, a
// year before 1970, plain noise). So the header is read as text first; the
// platform parses only the exact RFC 1123 layout, and the other valid HTTP
// date forms are read here.
int ReadLastModified(HINTERNET request, char* dateOut)
{
    char text[64] = {};
    DWORD textLength = sizeof text;
    HttpDate parsed;
    if (!HttpQueryInfoA(request, HTTP_QUERY_LAST_MODIFIED, text, &textLength, nullptr) ||
        !ParseHttpDate(text, &parsed))
        return CInet::kNoDate;

    int year = parsed.year;
    int month = parsed.month;
    int day = parsed.day;
    if (parsed.platformSafe) {
        SYSTEMTIME modified = {};
        DWORD length = sizeof modified;
        if (!HttpQueryInfoA(request, HTTP_QUERY_LAST_MODIFIED | HTTP_QUERY_FLAG_SYSTEMTIME, &modified,
                            &length, nullptr) ||
            length == 0)
            return CInet::kNoDate;
        year = modified.wYear;
        month = modified.wMonth;
        day = modified.wDay;
    }
    char date[CInet::kDateBufferSize] = {};
    snprintf(date, sizeof date, "%d/%02d/%02d", year, month, day);
    lstrcpynA(dateOut, date, sizeof date);
    return CInet::kDateWritten;
}

}  // namespace

CInet::CInet() : connectable_(InternetAttemptConnect(0) == ERROR_SUCCESS ? 1 : 0) {}

CInet::~CInet() = default;

int CInet::OpenInternet()
{
    if (connectable_ == 0)
        return 0;
    internet_.Reset(InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    return internet_ ? 1 : 0;
}

int CInet::QueryLastModified(const char* address, char* dateOut)
{
    if (!internet_)
        return kNotOpened;
    request_.Reset(InternetOpenUrlA(internet_.Get(), address, nullptr, 0, 0, 0));
    if (!request_)
        return kNotOpened;
    const int result = ReadLastModified(request_.Get(), dateOut);
    request_.Reset();
    return result;
}

int CInet::ReadTitle(const char* address, char* titleOut)
{
    return ReadTitle(address, titleOut, nullptr);
}

int CInet::ReadTitle(const char* address, char* titleOut, PageBytes* page)
{
    if (!internet_)
        return 0;
    request_.Reset(InternetOpenUrlA(internet_.Get(), address, nullptr, 0, 0, 0));
    if (!request_)
        return 0;

    if (page != nullptr) {
        char type[256] = {};
        DWORD typeLength = sizeof type - 1;
        if (HttpQueryInfoA(request_.Get(), HTTP_QUERY_CONTENT_TYPE, type, &typeLength, nullptr))
            page->contentType.assign(type, strnlen(type, sizeof type));
    }

    TitleScan scan;
    char chunk[kChunkRead + 1];
    for (;;) {
        DWORD delivered = 0;
        // A failed read ends the data; what was collected so far stays.
        if (!InternetReadFile(request_.Get(), chunk, kChunkRead, &delivered) || delivered == 0)
            break;
        chunk[delivered] = '\0';
        if (!scan.Feed(chunk, delivered))
            break;
    }
    scan.Finish();
    lstrcpynA(titleOut, scan.Title(), kTitleBufferSize);
    if (page != nullptr)
        page->head = scan.Head();
    // The request stays open until the next query or CloseInternet.
    return scan.Found() ? 1 : 0;
}

int CInet::GuessCharset(const char* title)
{
    return GuessTitleCharset(title);
}

void CInet::CloseInternet()
{
    // The child first: closing the root alone would leave this object
    // holding a request handle that WinINet has already freed.
    request_.Reset();
    internet_.Reset();
}
