#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// What the bookmark file code needs from the system and cannot do as plain
// byte logic: character-set conversion and the local calendar. The Windows
// build answers with the system's converters and time zone; the native tests
// answer with iconv and a fixed offset, so their dates do not depend on the
// machine.
class BookmarkPlatform {
public:
    virtual ~BookmarkPlatform() = default;

    // `length` bytes in the character set the file names (as written after
    // "charset=", e.g. "Shift_JIS", "EUC-JP", "UTF-16LE") to UTF-8 in `out`.
    // False, with `out` undefined, for a set the system does not know.
    virtual bool CharsetToUtf8(const char* charset, const char* text, size_t length,
                               std::string& out) const = 0;
    // UTF-8 to the program's code page (932); a character the code page
    // cannot hold, and a byte that is not UTF-8, becomes the default
    // character (never a look-alike). False when that happened.
    virtual bool Utf8ToAnsi(const char* text, size_t length, std::string& out) const = 0;
    // The program's code page to UTF-8.
    virtual void AnsiToUtf8(const char* text, size_t length, std::string& out) const = 0;

    // Seconds since 1970-01-01 UTC to the local calendar day. False when the
    // moment has no day the system can show.
    virtual bool LocalDay(int64_t seconds, int& year, int& month, int& day) const = 0;
    // Local noon of the given day in seconds since 1970 UTC, the inverse of
    // LocalDay; noon, so that a reader a few time zones away still sees the
    // same day. False for a day the system cannot convert.
    virtual bool DaySeconds(int year, int month, int day, int64_t& seconds) const = 0;
};
