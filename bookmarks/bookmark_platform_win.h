#pragma once
#include <unordered_map>

#include "bookmarks/bookmark_platform.h"

// The system's side of the bookmark file: the kernel's code-page converters
// (the program's text in the ANSI code page) and the local time zone.
//
// Each calendar call asks the system for the time zone again (under Wine it
// costs far more than the rest of a link), while a file's dates fall on
// comparatively few days: the zone's offset is kept per UTC day and the
// seconds per local day. An object is therefore for one thread at a time.
class WinBookmarkPlatform : public BookmarkPlatform {
public:
    bool CharsetToUtf8(const char* charset, const char* text, size_t length,
                       std::string& out) const override;
    bool Utf8ToAnsi(const char* text, size_t length, std::string& out) const override;
    void AnsiToUtf8(const char* text, size_t length, std::string& out) const override;
    bool LocalDay(int64_t seconds, int& year, int& month, int& day) const override;
    bool DaySeconds(int year, int month, int day, int64_t& seconds) const override;

private:
    // UTC day (seconds / 86400) -> the zone's offset in seconds through that
    // whole day; kMixedDay where it changes within the day.
    mutable std::unordered_map<int64_t, int64_t> offsets_;
    // year * 10000 + month * 100 + day -> seconds of its local noon.
    mutable std::unordered_map<int, int64_t> noons_;
};
