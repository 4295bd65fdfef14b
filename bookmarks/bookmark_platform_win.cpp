#include "bookmarks/bookmark_platform_win.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "bookmarks/bookmark_text.h"

namespace {

// Seconds between 1601-01-01 (FILETIME) and 1970-01-01.
constexpr int64_t kEpochSeconds = 11644473600LL;
constexpr UINT kUtf16Le = 1200;
constexpr UINT kUtf16Be = 1201;
constexpr int64_t kDaySeconds = 86400;
constexpr int64_t kLastSecond = 253402300799LL;   // the end of 9999
constexpr int64_t kMixedDay = INT64_MIN;

// The local time of a moment as the system's time zone gives it.
bool SystemLocalTime(int64_t seconds, SYSTEMTIME& local)
{
    const uint64_t ticks = static_cast<uint64_t>(seconds + kEpochSeconds) * 10000000ULL;
    FILETIME utcTime;
    utcTime.dwLowDateTime = static_cast<DWORD>(ticks);
    utcTime.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    SYSTEMTIME utc;
    return FileTimeToSystemTime(&utcTime, &utc) && SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
}

// Local minus UTC at a moment, in seconds; false when the system cannot say.
bool ZoneOffset(int64_t seconds, int64_t& offset)
{
    SYSTEMTIME local;
    if (!SystemLocalTime(seconds, local))
        return false;
    const int64_t localSeconds = DaysFromCivil(local.wYear, local.wMonth, local.wDay) * kDaySeconds +
                                 local.wHour * 3600 + local.wMinute * 60 + local.wSecond;
    offset = localSeconds - seconds;
    return true;
}

bool SameName(const char* a, const char* b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        char x = *a >= 'A' && *a <= 'Z' ? static_cast<char>(*a - 'A' + 'a') : *a;
        if (x != *b)
            return false;
    }
    return *a == *b;
}

// The code page of a declared charset name, or 0.
UINT CodePageOf(const char* charset)
{
    static const struct {
        const char* name;
        UINT codePage;
    } kNames[] = {
        {"shift_jis", 932},     {"shift-jis", 932},   {"sjis", 932},         {"x-sjis", 932},
        {"windows-31j", 932},   {"ms_kanji", 932},    {"csshiftjis", 932},   {"euc-jp", 20932},
        {"x-euc-jp", 20932},    {"eucjp", 20932},     {"ms932", 932},        {"x-mac-roman", 10000},
        {"macintosh", 10000},   {"iso-2022-jp", 50220}, {"csiso2022jp", 50220},
        {"utf-16", kUtf16Le},   {"utf-16le", kUtf16Le}, {"utf-16be", kUtf16Be},
        {"us-ascii", 20127},    {"ascii", 20127},     {"iso-8859-1", 28591}, {"latin1", 28591},
        {"gb2312", 936},        {"gbk", 936},         {"gb18030", 54936},    {"big5", 950},
        {"euc-kr", 949},        {"ks_c_5601-1987", 949}, {"koi8-r", 20866}, {"koi8-u", 21866},
    };
    for (const auto& n : kNames) {
        if (SameName(charset, n.name))
            return n.codePage;
    }
    // windows-1252, cp1252, iso-8859-5 and the like name their page.
    const struct {
        const char* prefix;
        UINT base;
    } kPrefixes[] = {{"windows-", 0}, {"cp", 0}, {"iso-8859-", 28590}};
    for (const auto& p : kPrefixes) {
        const size_t n = strlen(p.prefix);
        if (_strnicmp(charset, p.prefix, n) != 0 || charset[n] < '0' || charset[n] > '9')
            continue;
        char* end = nullptr;
        const unsigned long number = strtoul(charset + n, &end, 10);
        if (*end == '\0' && number > 0 && number < 100000)
            return p.base + static_cast<UINT>(number);
    }
    return 0;
}

bool ToWide(UINT codePage, const char* text, size_t length, std::wstring& wide)
{
    wide.clear();
    if (length == 0)
        return true;
    if (length > INT_MAX)
        return false;
    const int n = MultiByteToWideChar(codePage, 0, text, static_cast<int>(length), nullptr, 0);
    if (n <= 0)
        return false;
    wide.resize(static_cast<size_t>(n));
    return MultiByteToWideChar(codePage, 0, text, static_cast<int>(length), &wide[0], n) == n;
}

// False when a character became the default one. UTF-8 takes no flags;
// the program's code page takes no best fit, which would put a different
// character in place of one it lacks.
bool FromWide(UINT codePage, const std::wstring& wide, std::string& out)
{
    out.clear();
    if (wide.empty())
        return true;
    const int length = static_cast<int>(wide.size());
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int n = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return false;
    out.resize(static_cast<size_t>(n));
    WideCharToMultiByte(codePage, flags, wide.data(), length, &out[0], n, nullptr, used);
    return !usedDefault;
}

}  // namespace

bool WinBookmarkPlatform::CharsetToUtf8(const char* charset, const char* text, size_t length,
                                        std::string& out) const
{
    const UINT codePage = CodePageOf(charset);
    std::wstring wide;
    if (codePage == kUtf16Le || codePage == kUtf16Be) {
        wide.resize(length / 2);
        const unsigned char* u = reinterpret_cast<const unsigned char*>(text);
        for (size_t i = 0; i < wide.size(); ++i) {
            const unsigned first = u[2 * i];
            const unsigned second = u[2 * i + 1];
            wide[i] = static_cast<wchar_t>(codePage == kUtf16Le ? first | (second << 8) : (first << 8) | second);
        }
    } else if (codePage == 0 || !IsValidCodePage(codePage) || !ToWide(codePage, text, length, wide)) {
        return false;
    }
    FromWide(CP_UTF8, wide, out);
    return true;
}

bool WinBookmarkPlatform::Utf8ToAnsi(const char* text, size_t length, std::string& out) const
{
    std::wstring wide;
    ToWide(CP_UTF8, text, length, wide);
    // U+FFFD stands for bytes that were no UTF-8: lost as well.
    return FromWide(CP_ACP, wide, out) && wide.find(L'\xFFFD') == std::wstring::npos;
}

void WinBookmarkPlatform::AnsiToUtf8(const char* text, size_t length, std::string& out) const
{
    std::wstring wide;
    ToWide(CP_ACP, text, length, wide);
    FromWide(CP_UTF8, wide, out);
}

bool WinBookmarkPlatform::LocalDay(int64_t seconds, int& year, int& month, int& day) const
{
    if (seconds < 0 || seconds > kLastSecond)
        return false;
    // Zones move their clocks at most twice a year: an offset that is the
    // same at both ends of a UTC day holds for all of it.
    const int64_t utcDay = seconds / kDaySeconds;
    auto found = offsets_.find(utcDay);
    if (found == offsets_.end()) {
        int64_t first = 0;
        int64_t last = 0;
        const bool known = ZoneOffset(utcDay * kDaySeconds, first) &&
                           ZoneOffset(std::min(utcDay * kDaySeconds + kDaySeconds - 1, kLastSecond), last);
        found = offsets_.emplace(utcDay, known && first == last ? first : kMixedDay).first;
    }
    if (found->second == kMixedDay) {
        SYSTEMTIME local;
        if (!SystemLocalTime(seconds, local))
            return false;
        year = local.wYear;
        month = local.wMonth;
        day = local.wDay;
        return true;
    }
    const int64_t localSeconds = seconds + found->second;
    CivilFromDays((localSeconds >= 0 ? localSeconds : localSeconds - kDaySeconds + 1) / kDaySeconds, year, month,
                  day);
    return year >= 1 && year <= 9999;
}

bool WinBookmarkPlatform::DaySeconds(int year, int month, int day, int64_t& seconds) const
{
    if (year < 1601 || year > 9999)
        return false;
    const int key = year * 10000 + month * 100 + day;
    const auto found = noons_.find(key);
    if (found != noons_.end()) {
        seconds = found->second;
        return true;
    }
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(year);
    local.wMonth = static_cast<WORD>(month);
    local.wDay = static_cast<WORD>(day);
    local.wHour = 12;
    SYSTEMTIME utc;
    FILETIME fileTime;
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !SystemTimeToFileTime(&utc, &fileTime))
        return false;
    const uint64_t ticks = (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
    seconds = static_cast<int64_t>(ticks / 10000000ULL) - kEpochSeconds;
    noons_.emplace(key, seconds);
    return true;
}
