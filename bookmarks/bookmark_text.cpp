#include "bookmarks/bookmark_text.h"

#include <cstdio>
#include <cstring>

namespace {

struct NamedReference {
    const char* name;
    uint32_t code;
};

// The references browsers and bookmark tools write, and the common ones a
// hand-edited file may hold. A no-break space is meant as a space here.
const NamedReference kNamed[] = {
    {"amp", '&'},      {"lt", '<'},        {"gt", '>'},       {"quot", '"'},
    {"apos", '\''},    {"nbsp", ' '},      {"AMP", '&'},      {"LT", '<'},
    {"GT", '>'},       {"QUOT", '"'},      {"copy", 0xA9},    {"reg", 0xAE},
    {"trade", 0x2122}, {"hellip", 0x2026}, {"mdash", 0x2014}, {"ndash", 0x2013},
    {"lsquo", 0x2018}, {"rsquo", 0x2019},  {"ldquo", 0x201C}, {"rdquo", 0x201D},
    {"laquo", 0xAB},   {"raquo", 0xBB},    {"middot", 0xB7},  {"bull", 0x2022},
    {"yen", 0xA5},     {"euro", 0x20AC},   {"pound", 0xA3},   {"cent", 0xA2},
    {"times", 0xD7},   {"divide", 0xF7},   {"deg", 0xB0},     {"plusmn", 0xB1},
    {"sect", 0xA7},    {"para", 0xB6},
};

bool IsLayoutSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// Narrows [begin, end) to leave out raw white space at either end.
void TrimLayout(const char* text, size_t& begin, size_t& end)
{
    while (begin < end && IsLayoutSpace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && IsLayoutSpace(static_cast<unsigned char>(text[end - 1])))
        --end;
}

int HexValue(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes the reference at text[0] == '&'. Returns the bytes it spans, or 0
// when it is no reference (the '&' then stands for itself).
size_t DecodeReference(const char* text, size_t length, std::string& out)
{
    if (length >= 3 && text[1] == '#') {
        const bool hex = text[2] == 'x' || text[2] == 'X';
        size_t i = hex ? 3 : 2;
        const size_t first = i;
        uint32_t value = 0;
        for (; i < length; ++i) {
            const int digit = hex ? HexValue(static_cast<unsigned char>(text[i]))
                                  : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
            if (digit < 0)
                break;
            // Anything past the last character stays past it.
            value = value > 0x10FFFF ? value : value * (hex ? 16 : 10) + static_cast<uint32_t>(digit);
        }
        if (i == first)
            return 0;
        AppendUtf8(value, out);
        return i < length && text[i] == ';' ? i + 1 : i;
    }
    for (const NamedReference& ref : kNamed) {
        const size_t n = strlen(ref.name);
        if (length >= n + 2 && memcmp(text + 1, ref.name, n) == 0 && text[n + 1] == ';') {
            AppendUtf8(ref.code, out);
            return n + 2;
        }
    }
    return 0;
}

void AppendReference(unsigned char c, std::string& out)
{
    char buffer[8];
    snprintf(buffer, sizeof buffer, "&#%d;", c);
    out += buffer;
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsDay(int year, int month, int day)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    const int last = kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    return day <= last;
}

// Reads exactly `count` decimal digits.
bool ReadDigits(const char*& p, int count, int& value)
{
    value = 0;
    for (int i = 0; i < count; ++i, ++p) {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + (*p - '0');
    }
    return true;
}

}  // namespace

void AppendUtf8(uint32_t code, std::string& out)
{
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void AppendDecodedText(const char* text, size_t length, bool keepBreaks, std::string& out)
{
    size_t begin = 0;
    size_t end = length;
    TrimLayout(text, begin, end);
    for (size_t i = begin; i < end;) {
        const char c = text[i];
        if (c == '&') {
            const size_t used = DecodeReference(text + i, end - i, out);
            if (used > 0) {
                i += used;
                continue;
            }
            out += c;
        } else if (c == '\0') {
            // Dropped: a zero would end the value in the store's fields.
        } else if (!keepBreaks && (c == '\r' || c == '\n' || c == '\t')) {
            if (c == '\r' && i + 1 < end && text[i + 1] == '\n')
                ++i;
            out += ' ';
        } else {
            out += c;
        }
        ++i;
    }
}

void AppendEscapedText(const char* text, size_t length, bool escapeBreaks, std::string& out)
{
    size_t begin = 0;
    size_t end = length;
    TrimLayout(text, begin, end);
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (i < begin || i >= end)
            AppendReference(c, out);
        else if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if (escapeBreaks && (c == '\r' || c == '\n' || c == '\t'))
            AppendReference(c, out);
        else
            out += static_cast<char>(c);
    }
}

bool FormatDay(int year, int month, int day, char (&out)[11])
{
    out[0] = '\0';
    if (!IsDay(year, month, day))
        return false;
    snprintf(out, sizeof out, "%d/%02d/%02d", year, month, day);
    return true;
}

bool ParseDay(const char* text, int& year, int& month, int& day)
{
    if (text == nullptr)
        return false;
    const char* p = text;
    int digits = 0;
    while (digits < 5 && p[digits] >= '0' && p[digits] <= '9')
        ++digits;
    if (digits < 1 || digits > 4)
        return false;
    if (!ReadDigits(p, digits, year) || *p++ != '/' || !ReadDigits(p, 2, month) ||
        *p++ != '/' || !ReadDigits(p, 2, day) || *p != '\0')
        return false;
    return IsDay(year, month, day);
}

int64_t DaysFromCivil(int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yoe = year - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day)
{
    days += 719468;   // from 0000-03-01, so that a leap day ends the year
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}
