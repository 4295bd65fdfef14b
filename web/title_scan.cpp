#include "web/title_scan.h"

#include <cstring>

namespace {

// First occurrence of the zero-terminated `what` in [from, end), or null.
const char* FindText(const char* from, const char* end, const char* what)
{
    const size_t n = strlen(what);
    for (const char* p = from; p + n <= end; ++p) {
        if (memcmp(p, what, n) == 0)
            return p;
    }
    return nullptr;
}

// The closing tag in its lower-case spelling wins even when the upper-case
// one comes first.
const char* FindClosingTag(const char* from, const char* end)
{
    const char* close = FindText(from, end, "</title>");
    return close != nullptr ? close : FindText(from, end, "</TITLE>");
}

// The escape byte opens a JIS title and must survive.
bool IsSkippedControl(unsigned char c)
{
    return (c >= 0x01 && c <= 0x1F && c != 0x1B) || c == 0x7F;
}

}  // namespace

TitleScan::TitleScan(size_t bodyLimit)
    : length_(0), bodyBytes_(0), bodyLimit_(bodyLimit), found_(false), closed_(false)
{
    title_[0] = '\0';
}

bool TitleScan::Feed(const char* chunk, size_t delivered)
{
    if (closed_ || bodyBytes_ >= bodyLimit_)
        return false;
    bodyBytes_ += delivered;

    const char* end = chunk + strnlen(chunk, delivered);
    const char* open = FindText(chunk, end, "<title");
    if (open == nullptr)
        open = FindText(chunk, end, "<TITLE");

    if (!found_)
        head_.append(chunk, static_cast<size_t>((open != nullptr ? open : end) - chunk));

    if (open != nullptr) {
        const char* p = open;
        while (p < end && *p != '>')
            ++p;
        if (p < end)
            ++p;
        while (p < end && IsSkippedControl(static_cast<unsigned char>(*p)))
            ++p;
        while (p < end && *p == ' ')
            ++p;
        const char* close = FindClosingTag(p, end);
        Append(p, close != nullptr ? close : end);
        found_ = true;
        closed_ = close != nullptr;
    } else {
        const char* close = FindClosingTag(chunk, end);
        if (close != nullptr) {
            Append(chunk, close);
            found_ = true;
            closed_ = true;
        }
    }
    return !closed_ && bodyBytes_ < bodyLimit_;
}

void TitleScan::Append(const char* from, const char* to)
{
    size_t n = static_cast<size_t>(to - from);
    if (n > kMaxTitle - length_)
        n = kMaxTitle - length_;
    memcpy(title_ + length_, from, n);
    length_ += n;
    title_[length_] = '\0';
}

void TitleScan::Finish()
{
    while (length_ > 0 && title_[length_ - 1] == ' ')
        --length_;
    while (length_ > 0 && (title_[length_ - 1] == '\r' || title_[length_ - 1] == '\n'))
        --length_;
    title_[length_] = '\0';
}
