#include "bookmarks/bookmark_text.h"

#include <cstdio>
#include <cstring>

namespace {

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

void AppendDecodedText(const char* text, size_t length, bool keepBreaks, std::string& out)
{
    if (!keepBreaks) {
        AppendFoldedUtf8(text, length, out);
        return;
    }
    size_t begin = 0;
    size_t end = length;
    TrimLayout(text, begin, end);
    const size_t start = out.size();
    bool blank = true;
    for (size_t i = begin; i < end;) {
        uint32_t code = static_cast<unsigned char>(text[i]);
        size_t used = 1;
        if (code == '&') {
            used = ReadReference(text + i, end - i, &code);
            if (used == 0) {
                used = 1;
                code = '&';
            }
            AppendUtf8(code == 0xA0 ? ' ' : code, out);
        } else if (code == 0xC2 && i + 1 < end && static_cast<unsigned char>(text[i + 1]) == 0xA0) {
            used = 2;
            code = ' ';
            out += ' ';
        } else if (code != 0) {
            // Dropped: a zero would end the value in the store's fields.
            out += text[i];
        }
        blank = blank && (code == 0 || IsFoldedSpace(code));
        i += used;
    }
    if (blank)
        out.resize(start);
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
        else if (escapeBreaks && (c == '\r' || c == '\n' || c == '\t' || c == '\f' ||
                                  (c == ' ' && text[i - 1] == ' ')))
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
