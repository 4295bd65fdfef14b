#pragma once
#include "store/bookmark_platform.h"

// The system's side of the bookmark file: the kernel's code-page converters
// (the program's text in the ANSI code page) and the local time zone.
class WinBookmarkPlatform : public BookmarkPlatform {
public:
    bool CharsetToUtf8(const char* charset, const char* text, size_t length,
                       std::string& out) const override;
    void Utf8ToAnsi(const char* text, size_t length, std::string& out) const override;
    void AnsiToUtf8(const char* text, size_t length, std::string& out) const override;
    bool LocalDay(int64_t seconds, int& year, int& month, int& day) const override;
    bool DaySeconds(int year, int month, int day, int64_t& seconds) const override;
};
