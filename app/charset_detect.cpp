#include "app/charset_detect.h"

#include <cstring>

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const char* text, size_t length, const char* name)
{
    if (strlen(name) != length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (Lower(text[i]) != name[i])
            return false;
    }
    return true;
}

// Case-insensitive search for the lower-case `word` in [from, end).
const char* FindWord(const char* from, const char* end, const char* word)
{
    const size_t n = strlen(word);
    for (const char* p = from; p + n <= end; ++p) {
        size_t i = 0;
        while (i < n && Lower(p[i]) == word[i])
            ++i;
        if (i == n)
            return p;
    }
    return nullptr;
}

bool IsNameByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '_' || c == '.' || c == ':';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// The name after the first "charset" followed by "=" in [from, end).
std::string CharsetAfter(const char* from, const char* end)
{
    for (const char* at = FindWord(from, end, "charset"); at != nullptr;
         at = FindWord(at + 1, end, "charset")) {
        const char* p = at + 7;
        while (p < end && IsBlank(*p))
            ++p;
        if (p >= end || *p != '=')
            continue;
        ++p;
        while (p < end && (IsBlank(*p) || *p == '"' || *p == '\''))
            ++p;
        const char* name = p;
        while (p < end && IsNameByte(*p))
            ++p;
        if (p > name)
            return std::string(name, static_cast<size_t>(p - name));
    }
    return std::string();
}

// How a validator reads one character at s[i]: its length, 0 when the bytes
// are no character, or kCut when the text ends inside it.
constexpr size_t kCut = static_cast<size_t>(-1);

bool InRange(unsigned char c, unsigned lo, unsigned hi)
{
    return c >= lo && c <= hi;
}

size_t Utf8Char(const unsigned char* s, size_t n)
{
    const unsigned char c = s[0];
    if (c < 0x80)
        return 1;
    size_t length;
    unsigned lo = 0x80;
    unsigned hi = 0xBF;
    if (InRange(c, 0xC2, 0xDF)) {
        length = 2;
    } else if (InRange(c, 0xE0, 0xEF)) {
        length = 3;
        lo = c == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        hi = c == 0xED ? 0x9F : 0xBF;   // no surrogates
    } else if (InRange(c, 0xF0, 0xF4)) {
        length = 4;
        lo = c == 0xF0 ? 0x90 : 0x80;
        hi = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if (i >= n)
            return kCut;
        const unsigned char t = s[i];
        if (i == 1 ? !InRange(t, lo, hi) : !InRange(t, 0x80, 0xBF))
            return 0;
    }
    return length;
}

// Code page 932: JIS rows, the NEC row 13 (0x87), the NEC-selected IBM rows
// (0xED, 0xEE) and the IBM rows (0xFA-0xFC). User-defined rows and unused
// leads are no text a page would hold.
bool IsSjisLead(unsigned char c)
{
    return InRange(c, 0x81, 0x84) || InRange(c, 0x87, 0x9F) || InRange(c, 0xE0, 0xEA) ||
           InRange(c, 0xED, 0xEE) || InRange(c, 0xFA, 0xFC);
}

size_t SjisChar(const unsigned char* s, size_t n)
{
    const unsigned char c = s[0];
    if (c < 0x80 || InRange(c, 0xA1, 0xDF))
        return 1;
    if (!IsSjisLead(c))
        return 0;
    if (n < 2)
        return kCut;
    const unsigned char t = s[1];
    if (!InRange(t, 0x40, 0x7E) && !InRange(t, 0x80, 0xFC))
        return 0;
    return c == 0xFC && t > 0x4B ? 0 : 2;
}

size_t EucChar(const unsigned char* s, size_t n)
{
    const unsigned char c = s[0];
    if (c < 0x80)
        return 1;
    size_t length;
    if (c == 0x8E)
        length = 2;
    else if (c == 0x8F)
        length = 3;
    else if (InRange(c, 0xA1, 0xFE))
        length = 2;
    else
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if (i >= n)
            return kCut;
        if (c == 0x8E ? !InRange(s[i], 0xA1, 0xDF) : !InRange(s[i], 0xA1, 0xFE))
            return 0;
    }
    return length;
}

using CharReader = size_t (*)(const unsigned char*, size_t);

bool Fits(CharReader read, const unsigned char* s, size_t n, size_t* complete)
{
    size_t i = 0;
    while (i < n) {
        const size_t used = read(s + i, n - i);
        if (used == 0)
            return false;
        if (used == kCut)
            break;
        i += used;
    }
    if (complete != nullptr)
        *complete = i;
    return true;
}

bool IsSevenBit(const unsigned char* s, size_t n, size_t* complete)
{
    for (size_t i = 0; i < n; ++i) {
        if (s[i] >= 0x80)
            return false;
    }
    if (complete != nullptr)
        *complete = n;
    return true;
}

// A designation of ISO-2022-JP: ESC $ @, ESC $ B, ESC $ ( D/O/Q, ESC ( B,
// ESC ( J, ESC ( I.
bool HasJisEscape(const unsigned char* s, size_t n)
{
    for (size_t i = 0; i + 2 < n; ++i) {
        if (s[i] != 0x1B)
            continue;
        const unsigned char a = s[i + 1];
        const unsigned char b = s[i + 2];
        if ((a == '$' && (b == '@' || b == 'B')) || (a == '(' && (b == 'B' || b == 'J' || b == 'I')) ||
            (a == '$' && b == '(' && i + 3 < n && strchr("DOQ", s[i + 3]) != nullptr && s[i + 3] != 0))
            return true;
    }
    return false;
}

// How Japanese a text reads: kana count most, first-level kanji next;
// second-level kanji count nothing, and half-width katakana, the vendor
// rows and the 3-byte EUC-JP set count against it. EUC-JP read as
// Shift-JIS turns into runs of half-width katakana; Shift-JIS read as
// EUC-JP into rare rows.
int EucScore(const unsigned char* s, size_t n)
{
    int score = 0;
    for (size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        const size_t used = EucChar(s + i, n - i);
        if (used == 0 || used == kCut)
            break;
        i += used;
        if (c < 0x80)
            continue;
        if (c == 0xA4 || c == 0xA5)
            score += 3;
        else if (InRange(c, 0xB0, 0xCF))
            score += 2;
        else if (c == 0xA1 || c == 0xA3)
            score += 1;
        else if (c == 0x8E || InRange(c, 0xA9, 0xAF))
            score -= 1;
        else if (c == 0x8F || c >= 0xF5)
            score -= 3;
    }
    return score;
}

int SjisScore(const unsigned char* s, size_t n)
{
    int score = 0;
    for (size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        const size_t used = SjisChar(s + i, n - i);
        if (used == 0 || used == kCut)
            break;
        const unsigned t = used == 2 ? s[i + 1] : 0;
        i += used;
        if (c < 0x80)
            continue;
        if (used == 1)
            score -= 1;
        else if ((c == 0x82 && t >= 0x9F) || (c == 0x83 && t <= 0x96))
            score += 3;
        else if ((c >= 0x89 && c <= 0x97) || (c == 0x88 && t >= 0x9F) || (c == 0x98 && t <= 0x72))
            score += 2;
        else if (c == 0x81 || c == 0x82)
            score += 1;
        else if (c == 0x87 || c >= 0xED)
            score -= 2;
    }
    return score;
}

// JIS X 0208 row and cell (0x21-0x7E each) to the Shift-JIS pair.
void AppendSjisPair(unsigned j1, unsigned j2, std::string& out)
{
    unsigned s1 = ((j1 - 0x21) >> 1) + 0x81;
    if (s1 > 0x9F)
        s1 += 0x40;
    unsigned s2;
    if (j1 & 1) {
        s2 = j2 + 0x1F;
        if (s2 >= 0x7F)
            ++s2;
    } else {
        s2 = j2 + 0x7E;
    }
    out += static_cast<char>(s1);
    out += static_cast<char>(s2);
}

}  // namespace

int CharsetFromName(const char* name, size_t length)
{
    static const struct {
        const char* name;
        int charset;
    } kAliases[] = {
        {"shift_jis", kCharsetShiftJis}, {"shift-jis", kCharsetShiftJis}, {"x-sjis", kCharsetShiftJis},
        {"sjis", kCharsetShiftJis},      {"windows-31j", kCharsetShiftJis}, {"cp932", kCharsetShiftJis},
        {"ms932", kCharsetShiftJis},     {"euc-jp", kCharsetEucJp},       {"x-euc-jp", kCharsetEucJp},
        {"eucjp", kCharsetEucJp},        {"iso-2022-jp", kCharsetJis},    {"csiso2022jp", kCharsetJis},
        {"utf-8", kCharsetUtf8},         {"utf8", kCharsetUtf8},
    };
    for (const auto& alias : kAliases) {
        if (SameName(name, length, alias.name))
            return alias.charset;
    }
    return kCharsetUnknown;
}

std::string ContentTypeCharset(const char* value, size_t length)
{
    return CharsetAfter(value, value + length);
}

std::string MetaCharset(const char* bytes, size_t length)
{
    const char* end = bytes + length;
    for (const char* meta = FindWord(bytes, end, "<meta"); meta != nullptr;
         meta = FindWord(meta + 1, end, "<meta")) {
        const char* tagEnd = meta + 5;
        while (tagEnd < end && *tagEnd != '>' && *tagEnd != '<')
            ++tagEnd;
        std::string name = CharsetAfter(meta + 5, tagEnd);
        if (!name.empty())
            return name;
    }
    return std::string();
}

int CharsetFromBom(const char* bytes, size_t length, size_t* bomLength)
{
    const bool bom = length >= 3 && memcmp(bytes, "\xEF\xBB\xBF", 3) == 0;
    *bomLength = bom ? 3 : 0;
    return bom ? kCharsetUtf8 : kCharsetUnknown;
}

bool BytesFitCharset(int charset, const char* bytes, size_t length, size_t* complete)
{
    const unsigned char* s = reinterpret_cast<const unsigned char*>(bytes);
    switch (charset) {
    case kCharsetShiftJis:
        return Fits(SjisChar, s, length, complete);
    case kCharsetJis:
        return IsSevenBit(s, length, complete);
    case kCharsetEucJp:
        return Fits(EucChar, s, length, complete);
    case kCharsetUtf8:
        return Fits(Utf8Char, s, length, complete);
    default:
        return false;
    }
}

int DetectCharset(const char* bytes, size_t length)
{
    const unsigned char* s = reinterpret_cast<const unsigned char*>(bytes);
    if (HasJisEscape(s, length))
        return kCharsetJis;
    if (Fits(Utf8Char, s, length, nullptr))
        return kCharsetUtf8;
    const bool euc = Fits(EucChar, s, length, nullptr);
    const bool sjis = Fits(SjisChar, s, length, nullptr);
    if (euc && sjis)
        return EucScore(s, length) > SjisScore(s, length) ? kCharsetEucJp : kCharsetShiftJis;
    return euc ? kCharsetEucJp : kCharsetShiftJis;
}

int ChooseCharset(int declared, const char* bytes, size_t length)
{
    if (declared != kCharsetUnknown && BytesFitCharset(declared, bytes, length))
        return declared;
    return DetectCharset(bytes, length);
}

std::string JisToShiftJis(const char* bytes, size_t length, size_t* lost)
{
    enum class Set { Ascii, Kanji, Kana, Other };
    std::string out;
    out.reserve(length);
    Set set = Set::Ascii;
    bool shifted = false;   // between SO and SI: half-width katakana
    size_t dropped = 0;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = s[i];
        if (c == 0x1B && i + 2 < length) {
            const unsigned char a = s[i + 1];
            const unsigned char b = s[i + 2];
            if (a == '$' && (b == '@' || b == 'B')) {
                set = Set::Kanji;
            } else if (a == '$' && b == '(' && i + 3 < length) {
                // JIS X 0213 planes read as 0208 (their common part); 0212 is lost.
                set = s[i + 3] == 'D' ? Set::Other : Set::Kanji;
                ++i;
            } else if (a == '(' && (b == 'B' || b == 'J')) {
                set = Set::Ascii;
            } else if (a == '(' && b == 'I') {
                set = Set::Kana;
            } else {
                out += static_cast<char>(c);
                continue;
            }
            i += 2;
        } else if (c == 0x0E) {
            shifted = true;
        } else if (c == 0x0F) {
            shifted = false;
        } else if ((set == Set::Kana || shifted) && InRange(c, 0x21, 0x5F)) {
            out += static_cast<char>(c | 0x80);
        } else if ((set == Set::Kanji || set == Set::Other) && InRange(c, 0x21, 0x7E) && i + 1 < length &&
                   InRange(s[i + 1], 0x21, 0x7E)) {
            if (set == Set::Kanji) {
                AppendSjisPair(c, s[i + 1], out);
            } else {
                out += '?';
                ++dropped;
            }
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (lost != nullptr)
        *lost = dropped;
    return out;
}
