#include "web/link_verdict.h"

#include <cctype>
#include <cstdio>

LinkVerdict VerdictOf(LinkFailure failure, int status, bool movedPermanently)
{
    switch (failure) {
    case LinkFailure::kNone:
        break;
    case LinkFailure::kUnresolved:
    case LinkFailure::kRefused:
        return LinkVerdict::kDead;
    default:
        return LinkVerdict::kNeedsLook;
    }
    if (status >= 200 && status < 300)
        return movedPermanently ? LinkVerdict::kMoved : LinkVerdict::kAlive;
    if (status == 404 || status == 410)
        return LinkVerdict::kDead;
    return LinkVerdict::kNeedsLook;
}

bool AskAgainWithGet(int headStatus)
{
    return !(headStatus >= 200 && headStatus < 400) && headStatus != 404 && headStatus != 410;
}

bool IsRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool IsPermanentRedirect(int status)
{
    return status == 301 || status == 308;
}

bool IsHostFailure(LinkFailure failure)
{
    return failure == LinkFailure::kUnresolved || failure == LinkFailure::kRefused ||
           failure == LinkFailure::kTimedOut;
}

std::string HostKey(const std::string& address)
{
    size_t start = address.find("://");
    if (start == std::string::npos)
        return "";
    start += 3;
    size_t end = address.find_first_of("/?#", start);
    std::string host = address.substr(start, end == std::string::npos ? std::string::npos : end - start);
    // No user name or password in the key.
    size_t at = host.rfind('@');
    if (at != std::string::npos)
        host.erase(0, at + 1);
    for (char& c : host)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return host;
}

std::string OutcomeText(LinkFailure failure, int status)
{
    switch (failure) {
    case LinkFailure::kUnresolved:
        return "ホストが見つかりません";
    case LinkFailure::kRefused:
        return "接続拒否";
    case LinkFailure::kTimedOut:
        return "タイムアウト";
    case LinkFailure::kSecure:
        return "TLS エラー";
    case LinkFailure::kOther:
        return "通信エラー";
    case LinkFailure::kNone:
        break;
    }
    char text[16];
    snprintf(text, sizeof text, "%d", status);
    return text;
}
