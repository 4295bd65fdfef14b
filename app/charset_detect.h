#pragma once
#include <cstddef>
#include <string>

// Which of the four Japanese character sets a text is in, decided from its
// bytes alone: no window, no converter. Shared by the title fetch and the
// bookmark file reader.

// Character-set codes, in the order of the property dialog's list.
enum TitleCharset {
    kCharsetUnknown = -1,
    kCharsetShiftJis = 0,   // code page 932 with the NEC and IBM rows
    kCharsetJis = 1,        // ISO-2022-JP
    kCharsetEucJp = 2,
    kCharsetUtf8 = 3,
};

// The code of a charset name as pages and bookmark files write it, case
// ignored ("Shift_JIS", "x-sjis", "MS932", "eucJP", "csISO2022JP", "utf8"...);
// kCharsetUnknown for any other name.
int CharsetFromName(const char* name, size_t length);

// The charset name after "charset=" in a Content-Type value
// ("text/html; charset=EUC-JP"), quotes dropped; empty when there is none.
std::string ContentTypeCharset(const char* value, size_t length);

// The charset name a <meta charset=...> or a <meta http-equiv=...
// content="...charset=..."> in the bytes declares (the first one that does);
// empty when none does.
std::string MetaCharset(const char* bytes, size_t length);

// kCharsetUtf8 for a UTF-8 byte order mark at the start, with its length in
// *bomLength; else kCharsetUnknown and 0.
int CharsetFromBom(const char* bytes, size_t length, size_t* bomLength);

// Whether the bytes can be text of the character set. A character cut off
// at the very end counts as valid (a title is cut at 519 bytes); *complete,
// when given, receives the length without it.
bool BytesFitCharset(int charset, const char* bytes, size_t length, size_t* complete = nullptr);

// Detection over the bytes: an ISO-2022-JP escape anywhere means JIS; all
// non-ASCII bytes valid UTF-8 means UTF-8 (so does plain ASCII); else the
// one of EUC-JP and Shift-JIS that decodes without error, and when both do,
// the one that reads as more plausible Japanese. Bytes that fit none are
// taken as Shift-JIS, the program's own code page.
int DetectCharset(const char* bytes, size_t length);

// The character set of a text: the declared one (kCharsetUnknown for none)
// unless the bytes contradict it, then detection.
int ChooseCharset(int declared, const char* bytes, size_t length);

// ISO-2022-JP to Shift-JIS bytes by arithmetic (JIS X 0208, ASCII, JIS
// Roman, half-width katakana in both 7-bit forms). A character of another
// set (JIS X 0212) becomes "?" and counts in *lost.
std::string JisToShiftJis(const char* bytes, size_t length, size_t* lost = nullptr);
