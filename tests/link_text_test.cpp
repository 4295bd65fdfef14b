// Byte-level tests of recognising a handed-in address; no window code, also
// built natively with sanitizers.
#include <gtest/gtest.h>

#include <string>

#include "app/link_text.h"

namespace {

struct TextCase {
    std::string bytes;
    const char* address;   // nullptr: refused
};

void Check(bool (*read)(const char*, size_t, std::string*), const TextCase& c)
{
    std::string got = "untouched";
    bool ok = read(c.bytes.data(), c.bytes.size(), &got);
    EXPECT_EQ(ok, c.address != nullptr) << c.bytes;
    if (ok && c.address != nullptr) {
        EXPECT_EQ(got, c.address) << c.bytes;
    }
}

std::string Wide(std::initializer_list<unsigned> units)
{
    std::string bytes;
    for (unsigned u : units) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    }
    return bytes;
}

}  // namespace

TEST(LinkText, OneAbsoluteWebAddressOnly)
{
    const TextCase cases[] = {
        {"http://example.com/", "http://example.com/"},
        {"  HTTPS://Example.com/a?b=c#d\r\n", "HTTPS://Example.com/a?b=c#d"},
        {"ftp://files.example.com", "ftp://files.example.com"},
        {std::string("http://a.jp/x\0trailing", 22), "http://a.jp/x"},
        {"http://a.jp/\x95\x5C", "http://a.jp/\x95\x5C"},   // 表: ANSI text keeps its bytes
        {"http://", nullptr},
        {"http:///path", nullptr},
        {"mailto:a@example.com", nullptr},
        {"file:///C:/x.url", nullptr},
        {"example.com", nullptr},
        {"see http://example.com/", nullptr},
        {"http://a.jp/ http://b.jp/", nullptr},
        {"http://a.jp/\tx", nullptr},
        {"", nullptr},
        {" \r\n", nullptr},
        {"http://a/" + std::string(kLinkAddressLimit - 8, 'x'), nullptr},   // one over
    };
    for (const TextCase& c : cases)
        Check(ReadOneAddress, c);
    std::string fits = "http://a/" + std::string(kLinkAddressLimit - 8, 'x');
    fits.pop_back();
    Check(ReadOneAddress, {fits, fits.c_str()});
}

TEST(LinkText, WideTextBecomesAsciiWithEscapedCharacters)
{
    struct WideCase {
        std::string bytes;
        const char* text;   // nullptr: refused
    } cases[] = {
        {Wide({'h', 't', 0}) + Wide({'x'}), "ht"},                   // ends at NUL
        {Wide({'a', 0x3042}), "a%E3%81%82"},                       // あ
        {Wide({0xE9}), "%C3%A9"},                                  // é
        {Wide({0xD83D, 0xDE00}), "%F0%9F%98%80"},                  // a pair
        {Wide({'a', 0xD83D}), nullptr},                            // pair cut at the end
        {Wide({0xDE00, 'a'}), nullptr},                            // lone low half
        {Wide({'a', 'b'}) + "c", "ab"},                            // odd byte dropped
        {"", ""},
    };
    for (const WideCase& c : cases) {
        std::string out;
        bool ok = WideToAddressText(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size(), &out);
        EXPECT_EQ(ok, c.text != nullptr);
        if (ok && c.text != nullptr) {
            EXPECT_EQ(out, c.text);
        }
    }
}

TEST(LinkText, ShortcutFileGivesItsUrlLine)
{
    const TextCase cases[] = {
        {"[InternetShortcut]\r\nURL=https://example.com/a\r\n", "https://example.com/a"},
        {"\xEF\xBB\xBF[internetshortcut]\nIDList=\nurl=http://x.jp/\n", "http://x.jp/"},
        {"[DEFAULT]\r\nBASEURL=http://no.jp/\r\n[InternetShortcut]\r\nURL=http://yes.jp/", "http://yes.jp/"},
        {"[{000214A0-0000-0000-C000-000000000046}]\r\nURL=http://no.jp/\r\n", nullptr},
        {"URL=http://no-section.jp/\r\n", nullptr},
        {"[InternetShortcut]\r\nURL=file:///C:/a.txt\r\n", nullptr},
        {"[InternetShortcut]\r\nURL=\r\n", nullptr},
        {std::string("[InternetShortcut]\0URL=http://after-nul.jp/", 43), nullptr},
        {"", nullptr},
    };
    for (const TextCase& c : cases)
        Check(ReadShortcutAddress, c);
}
