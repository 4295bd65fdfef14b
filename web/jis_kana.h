#pragma once
#include <cstddef>
#include <string>

// Rewrites the two 7-bit forms of half-width katakana in ISO-2022-JP text
// (the "ESC ( I" set and SO ... SI shifts) to their 8-bit bytes 0xA1-0xDF;
// "ESC ( I" becomes "ESC ( B", SO and SI are dropped, all else stays. Wine's MLang converts
// 50222 through Shift-JIS and ignores both forms (katakana come out as
// ASCII), but it passes the 8-bit bytes through as Shift-JIS katakana.
std::string JisKanaToEightBit(const char* jis, size_t length);
