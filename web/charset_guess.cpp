#include "web/charset_guess.h"

#include <cstring>

namespace {

// Lead bytes of EUC-JP hiragana, katakana and first-level kanji.
bool IsEucLead(unsigned char c)
{
    return c == 0xA4 || c == 0xA5 || (c >= 0xB0 && c <= 0xCF);
}

bool IsUtf8ThreeByteLead(unsigned char c)
{
    return c >= 0xE0 && c <= 0xEF;
}

// Only the first EUC lead byte is looked at: when its followers two and
// four bytes on do not qualify, the test fails without trying later bytes.
bool LooksLikeEucJp(const unsigned char* s, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        if (IsEucLead(s[i]))
            return i + 4 < n && IsEucLead(s[i + 2]) && IsEucLead(s[i + 4]);
    }
    return false;
}

// Pairs of lead bytes three apart. Four pairs decide, or else the last pair
// examined: a lead byte whose partner is missing clears an earlier match.
bool LooksLikeUtf8(const unsigned char* s, size_t n)
{
    int pairs = 0;
    bool lastMatched = false;
    size_t i = 0;
    while (i < n) {
        if (IsUtf8ThreeByteLead(s[i])) {
            lastMatched = i + 3 < n && IsUtf8ThreeByteLead(s[i + 3]);
            if (lastMatched)
                ++pairs;
            i += 4;
        } else {
            ++i;
        }
    }
    return pairs >= 4 || lastMatched;
}

}  // namespace

int GuessTitleCharset(const char* raw)
{
    const unsigned char* s = reinterpret_cast<const unsigned char*>(raw);
    const size_t n = strlen(raw);
    if (n > 0 && s[0] == 0x1B)
        return kCharsetJis;
    if (LooksLikeEucJp(s, n))
        return kCharsetEucJp;
    if (LooksLikeUtf8(s, n))
        return kCharsetUtf8;
    return kCharsetShiftJis;
}
