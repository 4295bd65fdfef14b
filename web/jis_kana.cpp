#include "web/jis_kana.h"

namespace {

const char kEscape = 0x1B;
const char kShiftOut = 0x0E;
const char kShiftIn = 0x0F;

}  // namespace

std::string JisKanaToEightBit(const char* jis, size_t length)
{
    std::string out;
    out.reserve(length);
    bool kanaSet = false;   // after ESC ( I, until the next escape sequence
    bool shifted = false;   // between SO and SI
    for (size_t i = 0; i < length; ++i) {
        const char c = jis[i];
        if (c == kEscape) {
            kanaSet = i + 2 < length && jis[i + 1] == '(' && jis[i + 2] == 'I';
            if (kanaSet) {
                // Still a switch to one-byte text, or the 8-bit bytes would
                // be read as halves of two-byte characters.
                out += "\x1b(B";
                i += 2;
                continue;
            }
            out += c;
        } else if (c == kShiftOut) {
            shifted = true;
        } else if (c == kShiftIn) {
            shifted = false;
        } else if ((kanaSet || shifted) && c >= 0x21 && c <= 0x5F) {
            out += static_cast<char>(c | 0x80);
        } else {
            out += c;
        }
    }
    return out;
}
