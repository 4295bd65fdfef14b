#include "tests/native/iconv_platform.h"

#include <cerrno>
#include <ctime>

namespace {

// Converts through `cd`; a sequence it cannot convert becomes `replacement`
// and is skipped (a whole UTF-8 character when the input is UTF-8).
size_t Convert(iconv_t cd, const char* text, size_t length, const char* replacement, bool utf8Input,
               std::string& out)
{
    size_t replaced = 0;
    out.clear();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(text);
    size_t inLeft = length;
    char buffer[4096];
    while (inLeft > 0) {
        char* to = buffer;
        size_t toLeft = sizeof buffer;
        const size_t r = iconv(cd, &in, &inLeft, &to, &toLeft);
        out.append(buffer, sizeof buffer - toLeft);
        if (r != static_cast<size_t>(-1) || errno == E2BIG)
            continue;
        out += replacement;
        ++replaced;
        size_t skip = 1;
        if (utf8Input) {
            const unsigned char lead = static_cast<unsigned char>(*in);
            skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            for (size_t i = 1; i < skip; ++i) {
                if (i >= inLeft || (static_cast<unsigned char>(in[i]) & 0xC0) != 0x80) {
                    skip = i;
                    break;
                }
            }
        }
        skip = skip < inLeft ? skip : inLeft;
        in += skip;
        inLeft -= skip;
    }
    return replaced;
}

}  // namespace

IconvBookmarkPlatform::IconvBookmarkPlatform()
    : toAnsi_(iconv_open("CP932", "UTF-8")), fromAnsi_(iconv_open("UTF-8", "CP932"))
{
}

IconvBookmarkPlatform::~IconvBookmarkPlatform()
{
    iconv_close(toAnsi_);
    iconv_close(fromAnsi_);
}

bool IconvBookmarkPlatform::CharsetToUtf8(const char* charset, const char* text, size_t length,
                                          std::string& out) const
{
    iconv_t cd = iconv_open("UTF-8", charset);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    Convert(cd, text, length, "\xEF\xBF\xBD", false, out);
    iconv_close(cd);
    return true;
}

bool IconvBookmarkPlatform::Utf8ToAnsi(const char* text, size_t length, std::string& out) const
{
    return Convert(toAnsi_, text, length, "?", true, out) == 0;
}

void IconvBookmarkPlatform::AnsiToUtf8(const char* text, size_t length, std::string& out) const
{
    Convert(fromAnsi_, text, length, "?", false, out);
}

bool IconvBookmarkPlatform::LocalDay(int64_t seconds, int& year, int& month, int& day) const
{
    const time_t t = static_cast<time_t>(seconds);
    struct tm parts;
    if (seconds < 0 || gmtime_r(&t, &parts) == nullptr)
        return false;
    year = parts.tm_year + 1900;
    month = parts.tm_mon + 1;
    day = parts.tm_mday;
    return true;
}

bool IconvBookmarkPlatform::DaySeconds(int year, int month, int day, int64_t& seconds) const
{
    struct tm parts = {};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = 12;
    seconds = static_cast<int64_t>(timegm(&parts));
    return true;
}
