#include "store/address_match.h"

#include <cstring>

namespace {

bool IsAlpha(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    const size_t n = strlen(prefix);
    if (text.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        if (Lower(text[i]) != prefix[i])
            return false;
    }
    return true;
}

// An address cut into its parts. The delimiters / ? # & = % are below 0x40
// and never the trail byte of a double-byte character; '@', '[' and ']'
// can be, so every walk steps over whole characters.
struct Parts {
    std::string scheme;      // lower case, empty when the address has none
    bool authority = false;  // "//" followed the scheme
    std::string userinfo;    // with its '@'
    std::string host;        // lower case
    std::string port;
    std::string path;
    std::string query;       // without '?'
    std::string fragment;    // without '#'
};

class Walker {
public:
    Walker(const char* text, LeadBytePredicate isLead)
        : text_(text), isLead_(isLead)
    {
    }
    // The position of the first of the given single-byte delimiters at or
    // after from, or end.
    size_t Find(size_t from, size_t end, const char* delimiters) const
    {
        size_t i = from;
        while (i < end) {
            if (isLead_(static_cast<unsigned char>(text_[i])) && i + 1 < end) {
                i += 2;
                continue;
            }
            if (strchr(delimiters, text_[i]) != nullptr)
                return i;
            ++i;
        }
        return end;
    }
    // The last such delimiter in [from, end), or end.
    size_t FindLast(size_t from, size_t end, char delimiter) const
    {
        size_t found = end;
        size_t i = from;
        while (i < end) {
            if (isLead_(static_cast<unsigned char>(text_[i])) && i + 1 < end) {
                i += 2;
                continue;
            }
            if (text_[i] == delimiter)
                found = i;
            ++i;
        }
        return found;
    }
    std::string Slice(size_t from, size_t to) const { return std::string(text_ + from, to - from); }

private:
    const char* text_;
    LeadBytePredicate isLead_;
};

// Upper-case hex digits of percent escapes; ASCII letters elsewhere lower
// case when lower is set. Double-byte characters stay as they are.
std::string Fold(const std::string& text, bool lower, LeadBytePredicate isLead)
{
    std::string out = text;
    size_t i = 0;
    while (i < out.size()) {
        if (isLead(static_cast<unsigned char>(out[i])) && i + 1 < out.size()) {
            i += 2;
        } else if (out[i] == '%' && i + 2 < out.size() && IsHex(out[i + 1]) && IsHex(out[i + 2])) {
            out[i + 1] = Upper(out[i + 1]);
            out[i + 2] = Upper(out[i + 2]);
            i += 3;
        } else {
            if (lower)
                out[i] = Lower(out[i]);
            ++i;
        }
    }
    return out;
}

Parts Split(const char* address, size_t length, LeadBytePredicate isLead)
{
    Parts parts;
    Walker walk(address, isLead);
    size_t at = 0;
    // A scheme: a letter, then letters, digits, + - . up to ':'.
    if (length > 0 && IsAlpha(address[0])) {
        size_t i = 1;
        while (i < length && (IsAlpha(address[i]) || (address[i] >= '0' && address[i] <= '9') ||
                              address[i] == '+' || address[i] == '-' || address[i] == '.'))
            ++i;
        if (i < length && address[i] == ':') {
            parts.scheme = Fold(walk.Slice(0, i), true, isLead);
            at = i + 1;
        }
    }
    if (length - at >= 2 && address[at] == '/' && address[at + 1] == '/') {
        parts.authority = true;
        const size_t begin = at + 2;
        const size_t end = walk.Find(begin, length, "/?#");
        const size_t atSign = walk.FindLast(begin, end, '@');
        size_t hostBegin = begin;
        if (atSign != end) {
            parts.userinfo = Fold(walk.Slice(begin, atSign + 1), false, isLead);
            hostBegin = atSign + 1;
        }
        // An IPv6 literal holds colons of its own.
        size_t hostEnd = end;
        if (hostBegin < end && address[hostBegin] == '[') {
            const size_t close = walk.Find(hostBegin, end, "]");
            hostEnd = close < end ? close + 1 : end;
            if (hostEnd < end && address[hostEnd] != ':')
                hostEnd = end;
        } else {
            hostEnd = walk.Find(hostBegin, end, ":");
        }
        parts.host = Fold(walk.Slice(hostBegin, hostEnd), true, isLead);
        if (hostEnd < end)
            parts.port = walk.Slice(hostEnd + 1, end);
        at = end;
    }
    const size_t queryAt = walk.Find(at, length, "?#");
    parts.path = Fold(walk.Slice(at, queryAt), false, isLead);
    size_t fragmentAt = queryAt;
    if (queryAt < length && address[queryAt] == '?') {
        fragmentAt = walk.Find(queryAt + 1, length, "#");
        parts.query = Fold(walk.Slice(queryAt + 1, fragmentAt), false, isLead);
    }
    if (fragmentAt < length)
        parts.fragment = Fold(walk.Slice(fragmentAt + 1, length), false, isLead);
    return parts;
}

bool DefaultPort(const Parts& parts)
{
    return (parts.scheme == "http" && parts.port == "80") || (parts.scheme == "https" && parts.port == "443");
}

bool TrackingParameter(const std::string& parameter)
{
    const std::string name = parameter.substr(0, parameter.find('='));
    if (StartsWithNoCase(name, "utm_"))
        return true;
    std::string lower;
    for (char c : name)
        lower += Lower(c);
    return lower == "fbclid" || lower == "gclid";
}

std::string WithoutTracking(const std::string& query)
{
    std::string kept;
    bool first = true;
    size_t start = 0;
    while (start <= query.size()) {
        size_t end = query.find('&', start);
        if (end == std::string::npos)
            end = query.size();
        const std::string parameter = query.substr(start, end - start);
        if (!TrackingParameter(parameter)) {
            if (!first)
                kept += '&';
            kept += parameter;
            first = false;
        }
        start = end + 1;
    }
    return kept;
}

std::string Join(const Parts& parts)
{
    std::string key;
    key.reserve(parts.scheme.size() + parts.host.size() + parts.path.size() + parts.query.size() + 16);
    if (!parts.scheme.empty())
        key += parts.scheme + ":";
    if (parts.authority) {
        key += "//";
        key += parts.userinfo;
        key += parts.host;
        if (!parts.port.empty())
            key += ":" + parts.port;
    }
    key += parts.path;
    // An empty query or fragment says nothing.
    if (!parts.query.empty())
        key += "?" + parts.query;
    if (!parts.fragment.empty())
        key += "#" + parts.fragment;
    return key;
}

Parts SameParts(const char* address, size_t length, LeadBytePredicate isLead)
{
    Parts parts = Split(address, length, isLead);
    if (DefaultPort(parts))
        parts.port.clear();
    return parts;
}

}  // namespace

std::string SameAddressKey(const char* address, size_t length, LeadBytePredicate isLead)
{
    return Join(SameParts(address, length, isLead));
}

std::string LikelyAddressKey(const char* address, size_t length, LeadBytePredicate isLead)
{
    Parts parts = SameParts(address, length, isLead);
    if (parts.scheme == "https")
        parts.scheme = "http";
    if (parts.authority) {
        if (parts.host.compare(0, 4, "www.") == 0)
            parts.host.erase(0, 4);
        if (!parts.path.empty() && parts.path.back() == '/')
            parts.path.pop_back();
    }
    parts.query = WithoutTracking(parts.query);
    return Join(parts);
}

std::string SameAddressKey(const char* address)
{
    return address == nullptr ? std::string() : SameAddressKey(address, strlen(address));
}

std::string LikelyAddressKey(const char* address)
{
    return address == nullptr ? std::string() : LikelyAddressKey(address, strlen(address));
}

AddressTier CompareAddresses(const char* a, const char* b)
{
    if (SameAddressKey(a) == SameAddressKey(b))
        return AddressTier::Same;
    if (LikelyAddressKey(a) == LikelyAddressKey(b))
        return AddressTier::Likely;
    return AddressTier::None;
}
