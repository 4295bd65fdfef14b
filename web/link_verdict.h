#pragma once
#include <string>

// What a link check makes of one answer, free of any network code: the
// rules that decide whether a link is dead, with what no server's mood may
// turn into a dead link.

enum class LinkVerdict {
    kAlive,       // 2xx, also at the end of redirects
    kMoved,       // alive, but a permanent redirect sent it to another address
    kDead,        // 404, 410, a name that does not resolve, a refused connection
    kNeedsLook,   // 401, 403, 405, 429, 5xx, time-outs, TLS failures...: kept as it is
};

// How a request ended without an answer.
enum class LinkFailure {
    kNone,          // there is an answer (its status)
    kUnresolved,    // the host name does not resolve
    kRefused,       // nothing accepts connections there
    kTimedOut,      // no answer within the time allowed
    kSecure,        // the TLS handshake or the certificate failed
    kOther,         // anything else
};

LinkVerdict VerdictOf(LinkFailure failure, int status, bool movedPermanently);

// Whether a HEAD answer is to be asked again with GET before deciding:
// servers that refuse HEAD or automated clients are not dead links.
bool AskAgainWithGet(int headStatus);

// Whether the status is a redirect that names where to go.
bool IsRedirect(int status);
bool IsPermanentRedirect(int status);

// Whether a failure tells about the host rather than the page: the host's
// other links are then asked once more, not one each.
bool IsHostFailure(LinkFailure failure);

// The host part of an address, lower case, with its port when it has one
// ("http://A.example:8080/x" -> "a.example:8080"); empty when there is none.
std::string HostKey(const std::string& address);

// The status text of a verdict for the result list ("404", "タイムアウト"...),
// in the program's code page.
std::string OutcomeText(LinkFailure failure, int status);
