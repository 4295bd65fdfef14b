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

LinkFailure FailureOf(DWORD error, bool timeUsedUp)
{
    switch (error) {
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
        return LinkFailure::kUnresolved;
    case ERROR_INTERNET_CANNOT_CONNECT:
        return LinkFailure::kRefused;
    case ERROR_INTERNET_TIMEOUT:
    case WSAETIMEDOUT:
        return LinkFailure::kTimedOut;
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
    case ERROR_INTERNET_SEC_INVALID_CERT:
        return LinkFailure::kSecure;
    default:
        // Wine ends a request whose receive time-out fired with "aborted".
        return timeUsedUp ? LinkFailure::kTimedOut : LinkFailure::kOther;
    }
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

void CInet::SetBounds(DWORD connectMs, DWORD totalMs)
{
    connectMs_ = connectMs;
    totalMs_ = totalMs;
}

DWORD CInet::Remaining() const
{
    ULONGLONG now = GetTickCount64();
    return now >= deadline_ ? 0 : static_cast<DWORD>(deadline_ - now);
}

void CInet::BoundReceive()
{
    // At least a little time, so that a call is never made with 0, which
    // WinINet reads as "no time-out".
    DWORD left = Remaining() > 1 ? Remaining() : 1;
    InternetSetOptionA(request_.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &left, sizeof left);
    InternetSetOptionA(request_.Get(), INTERNET_OPTION_SEND_TIMEOUT, &left, sizeof left);
}

bool CInet::OpenRequest(const char* address, const char* verb, bool followRedirects, LinkFailure* failure)
{
    request_.Reset();
    connect_.Reset();
    *failure = LinkFailure::kOther;
    if (!internet_)
        return false;
    deadline_ = GetTickCount64() + totalMs_;

    char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
    URL_COMPONENTSA parts;
    ZeroMemory(&parts, sizeof parts);
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(address, 0, 0, &parts)) {
        *failure = FailureOf(GetLastError(), false);
        return false;
    }
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && !secure) {
        // Other schemes (ftp) the library opens itself.
        request_.Reset(InternetOpenUrlA(internet_.Get(), address, nullptr, 0, 0, 0));
        if (!request_)
            *failure = FailureOf(GetLastError(), Remaining() == 0);
        return static_cast<bool>(request_);
    }
    std::string object(parts.lpszUrlPath != nullptr ? std::string(parts.lpszUrlPath, parts.dwUrlPathLength) : "");
    if (parts.lpszExtraInfo != nullptr)
        object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (object.empty())
        object = "/";

    connect_.Reset(InternetConnectA(internet_.Get(), host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connect_) {
        *failure = FailureOf(GetLastError(), false);
        return false;
    }
    const char* accept[] = {"*/*", nullptr};
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                  INTERNET_FLAG_KEEP_CONNECTION | (secure ? INTERNET_FLAG_SECURE : 0) |
                  (followRedirects ? 0 : INTERNET_FLAG_NO_AUTO_REDIRECT);
    request_.Reset(HttpOpenRequestA(connect_.Get(), verb, object.c_str(), nullptr, nullptr, accept, flags, 0));
    if (!request_) {
        *failure = FailureOf(GetLastError(), false);
        return false;
    }
    DWORD connect = connectMs_ < totalMs_ ? connectMs_ : totalMs_;
    InternetSetOptionA(request_.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    BoundReceive();
    if (!HttpSendRequestA(request_.Get(), nullptr, 0, nullptr, 0)) {
        DWORD error = GetLastError();
        *failure = FailureOf(error, Remaining() < totalMs_ / 10);
        request_.Reset();
        return false;
    }
    *failure = LinkFailure::kNone;
    return true;
}

CInet::Answer CInet::Ask(const char* address, const char* verb)
{
    Answer answer;
    if (!OpenRequest(address, verb, false, &answer.failure))
        return answer;
    DWORD status = 0;
    DWORD length = sizeof status;
    if (HttpQueryInfoA(request_.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr))
        answer.status = static_cast<int>(status);
    else
        answer.status = 200;   // not HTTP (ftp): it opened
    char location[2048] = {};
    DWORD locationLength = sizeof location - 1;
    if (IsRedirect(answer.status) &&
        HttpQueryInfoA(request_.Get(), HTTP_QUERY_LOCATION, location, &locationLength, nullptr))
        answer.location.assign(location, strnlen(location, sizeof location));
    answer.dateResult = ReadLastModified(request_.Get(), answer.date);
    request_.Reset();
    connect_.Reset();
    return answer;
}

int CInet::QueryLastModified(const char* address, char* dateOut)
{
    LinkFailure failure;
    if (!OpenRequest(address, "GET", true, &failure))
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
    LinkFailure failure;
    if (!OpenRequest(address, "GET", true, &failure))
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
        // The whole request has its bound; a failed read ends the data, and
        // what was collected so far stays.
        if (Remaining() == 0)
            break;
        BoundReceive();
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
    connect_.Reset();
    internet_.Reset();
}
