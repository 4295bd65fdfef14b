// libFuzzer target: charset detection, declarations and the cleaning of
// title text over arbitrary bytes, checked against their promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/charset_detect.h"
#include "app/html_text.h"
#include "web/page_charset.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        abort();
}

// One space between words, none at either end.
template <class Text>
void CheckFolded(const Text& text)
{
    Check(text.empty() || (text.front() != ' ' && text.back() != ' '));
    for (size_t i = 1; i < text.size(); ++i)
        Check(!(text[i] == ' ' && text[i - 1] == ' '));
}

}  // namespace

// Input: the first byte splits the rest into a head and a title.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const char* bytes = reinterpret_cast<const char*>(data) + 1;
    const size_t length = size - 1;
    const size_t split = length == 0 ? 0 : data[0] % (length + 1);

    const int detected = DetectCharset(bytes, length);
    Check(detected >= kCharsetShiftJis && detected <= kCharsetUtf8);
    // An escape sequence means JIS even among 8-bit bytes.
    if (detected == kCharsetEucJp || detected == kCharsetUtf8)
        Check(BytesFitCharset(detected, bytes, length));
    for (int charset = kCharsetShiftJis; charset <= kCharsetUtf8; ++charset) {
        size_t complete = length + 1;
        if (BytesFitCharset(charset, bytes, length, &complete))
            Check(complete <= length && length - complete < 4);
        Check(ChooseCharset(charset, bytes, length) == (BytesFitCharset(charset, bytes, length) ? charset : detected));
    }

    PageBytes page;
    page.contentType.assign(bytes, split);
    page.head.assign(bytes, split);
    page.title = bytes + split;
    page.titleLength = length - split;
    const int charset = PageTitleCharset(page);
    Check(charset >= kCharsetShiftJis && charset <= kCharsetUtf8);

    size_t lost = 0;
    Check(JisToShiftJis(bytes, length, &lost).size() <= length);

    std::string utf8;
    AppendFoldedUtf8(bytes, length, utf8);
    Check(utf8.find('\0') == std::string::npos);
    Check(utf8.empty() || utf8.find_first_not_of(" \t\r\n\f") != std::string::npos);
    std::u16string wide;
    for (size_t i = 0; i + 1 < length; i += 2)
        wide += static_cast<char16_t>(data[1 + i] | (data[2 + i] << 8));
    CheckFolded(CleanTitleText(wide.data(), wide.size()));
    return 0;
}
