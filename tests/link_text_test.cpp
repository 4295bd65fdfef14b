// Byte-level tests of recognising a handed-in address; no window code, also
// built natively with sanitizers.
#include <gtest/gtest.h>

#include <string>

#include "app/link_text.h"

namespace {

struct TextCase {
    std::string bytes;
    const char* text;   // nullptr: refused
};

std::string Wide(std::initializer_list<unsigned> units)
{
    std::string bytes;
    for (unsigned u : units)
        bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    return bytes;
}

void Check(bool (*read)(const char*, size_t, std::string*), const TextCase& c)
{
    std::string got;
    const bool ok = read(c.bytes.data(), c.bytes.size(), &got);
    EXPECT_EQ(ok, c.text != nullptr) << c.bytes;
    if (ok && c.text != nullptr) {
        EXPECT_EQ(got, c.text) << c.bytes;
    }
}

bool ReadWide(const char* bytes, size_t length, std::string* out)
{
    return WideToAddressText(reinterpret_cast<const unsigned char*>(bytes), length, out);
}

}  // namespace

TEST(LinkText, OneAbsoluteWebAddressOnly)
{
    const std::string fits = "http://a/" + std::string(kLinkAddressLimit - 9, 'x');
    const TextCase cases[] = {
        {"http://example.com/", "http://example.com/"},
        {"  HTTPS://Example.com/a?b=c#d\r\n", "HTTPS://Example.com/a?b=c#d"},
        {"ftp://files.example.com", "ftp://files.example.com"},
        {std::string("http://a.jp/x\0trailing", 22), "http://a.jp/x"},
        {"http://a.jp/\x95\x5C", "http://a.jp/\x95\x5C"},   // 表: ANSI text keeps its bytes
        {fits, fits.c_str()}, {fits + "x", nullptr},           // exactly fits, one over
        {"http://", nullptr}, {"http:///path", nullptr}, {"mailto:a@example.com", nullptr},
        {"file:///C:/x.url", nullptr}, {"example.com", nullptr}, {"see http://example.com/", nullptr},
        {"http://a.jp/ http://b.jp/", nullptr}, {"http://a.jp/\tx", nullptr}, {"", nullptr}, {" \r\n", nullptr},
    };
    for (const TextCase& c : cases)
        Check(ReadOneAddress, c);
}

TEST(LinkText, WideTextBecomesAsciiWithEscapedCharacters)
{
    const TextCase cases[] = {
        {Wide({'h', 't', 0, 'x'}), "ht"},                  // ends at NUL
        {Wide({'a', 0x3042}), "a%E3%81%82"},              // あ
        {Wide({0xE9}), "%C3%A9"},                         // é
        {Wide({0xD83D, 0xDE00}), "%F0%9F%98%80"},         // a surrogate pair
        {Wide({'a', 0xD83D}), nullptr},                   // pair cut at the end
        {Wide({0xDE00, 'a'}), nullptr},                   // lone low half
        {Wide({'a', 'b'}) + "c", "ab"},                   // odd byte dropped
        {"", ""},
    };
    for (const TextCase& c : cases)
        Check(ReadWide, c);
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
