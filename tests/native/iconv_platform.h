#pragma once
#include <iconv.h>

#include "bookmarks/bookmark_platform.h"

// The bookmark file's system side for the native build: glibc's iconv with
// code page 932 as the program's code page, and UTC as the local time zone.
class IconvBookmarkPlatform : public BookmarkPlatform {
public:
    IconvBookmarkPlatform();
    ~IconvBookmarkPlatform() override;
    IconvBookmarkPlatform(const IconvBookmarkPlatform&) = delete;
    IconvBookmarkPlatform& operator=(const IconvBookmarkPlatform&) = delete;

    bool CharsetToUtf8(const char* charset, const char* text, size_t length,
                       std::string& out) const override;
    bool Utf8ToAnsi(const char* text, size_t length, std::string& out) const override;
    void AnsiToUtf8(const char* text, size_t length, std::string& out) const override;
    bool LocalDay(int64_t seconds, int& year, int& month, int& day) const override;
    bool DaySeconds(int year, int month, int day, int64_t& seconds) const override;

private:
    iconv_t toAnsi_;
    iconv_t fromAnsi_;
};
