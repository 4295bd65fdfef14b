#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/charset_detect.h"
#include "app/html_text.h"
#include "web/charset_guess.h"
#include "web/page_charset.h"

// Built in both the Windows and the sanitizer build: bytes only.
namespace {

// "第1章 GNU/Linux チュートリアル", a real page title, in the four sets.
const std::string kChapterUtf8 =
    "\xE7\xAC\xAC" "1\xE7\xAB\xA0 GNU/Linux \xE3\x83\x81\xE3\x83\xA5\xE3\x83\xBC\xE3\x83\x88\xE3\x83\xAA\xE3\x82\xA2"
    "\xE3\x83\xAB";
const std::string kChapterSjis = "\x91\xE6" "1\x8F\xCD GNU/Linux \x83`\x83\x85\x81[\x83g\x83\x8A\x83" "A\x83\x8B";
const std::string kChapterEuc =
    "\xC2\xE8" "1\xBE\xCF GNU/Linux \xA5\xC1\xA5\xE5\xA1\xBC\xA5\xC8\xA5\xEA\xA5\xA2\xA5\xEB";
const std::string kChapterJis = "\x1B$BBh\x1B(B1\x1B$B>O\x1B(B GNU/Linux \x1B$B%A%e!<%H%j%\"%k\x1B(B";
// "はじめに" in EUC-JP also reads as four pairs of half-width katakana in
// Shift-JIS; "Debian リファレンス" likewise.
const std::string kPrefaceEuc = "\xA4\xCF\xA4\xB8\xA4\xE1\xA4\xCB";
const std::string kReferenceEuc = "Debian \xA5\xEA\xA5\xD5\xA5\xA1\xA5\xEC\xA5\xF3\xA5\xB9";
const std::string kJapaneseSjis = "\x93\xFA\x96\x7B\x8C\xEA";   // "日本語"
const std::string kUtf8Hiragana = "\xE3\x81\x82";

std::string Times(const std::string& s, int n)
{
    std::string out;
    while (n-- > 0)
        out += s;
    return out;
}

}  // namespace

TEST(CharsetGuess, DetectsRealTitlesAndTheOldEdgeCases)
{
    const struct {
        const char* name;
        std::string bytes;
        int charset;
    } cases[] = {
        {"UTF-8 title", kChapterUtf8, kCharsetUtf8},
        {"Shift-JIS title", kChapterSjis, kCharsetShiftJis},
        {"EUC-JP title, no hiragana", kChapterEuc, kCharsetEucJp},
        {"JIS title", kChapterJis, kCharsetJis},
        {"EUC-JP hiragana that Shift-JIS also decodes", kPrefaceEuc, kCharsetEucJp},
        {"EUC-JP katakana after ASCII", kReferenceEuc, kCharsetEucJp},
        {"Shift-JIS kanji", kJapaneseSjis, kCharsetShiftJis},
        {"cut inside its last character", kChapterUtf8.substr(0, kChapterUtf8.size() - 1), kCharsetUtf8},
        {"cp932 NEC row: circled digit", "\x87\x40", kCharsetShiftJis},
        // Old edge cases, with what they give now.
        {"escape not first (was Shift-JIS)", "a\x1B$B$\"$$\x1B(B", kCharsetJis},
        {"escape byte with no sequence (was JIS)", "\x1B\xE6\xBC\xA2", kCharsetUtf8},
        {"two EUC-JP hiragana (was Shift-JIS)", "\xA4\xA2\xA4\xA4", kCharsetEucJp},
        {"half-width katakana, ASCII, EUC-JP (Shift-JIS)", "\xB1" "ab\xA4\xA2\xA4\xA4\xA4\xA6", kCharsetShiftJis},
        {"one UTF-8 character and ASCII (was Shift-JIS)", kUtf8Hiragana + "abc", kCharsetUtf8},
        {"three UTF-8 hiragana (was Shift-JIS)", Times(kUtf8Hiragana, 3), kCharsetUtf8},
        {"seven UTF-8 hiragana (was Shift-JIS)", Times(kUtf8Hiragana, 7), kCharsetUtf8},
        {"plain ASCII (was Shift-JIS; same text)", "Example Domain", kCharsetUtf8},
        {"empty (was Shift-JIS; same text)", "", kCharsetUtf8},
        {"no set fits: the program's own", "\x80\xFF", kCharsetShiftJis},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DetectCharset(c.bytes.data(), c.bytes.size()), c.charset);
        EXPECT_EQ(GuessTitleCharset(c.bytes.c_str()), c.charset);
    }
}

TEST(CharsetGuess, DeclarationsCountOnlyWhenTheTitleFitsThem)
{
    const struct {
        const char* name;
        std::string contentType, head, title;
        int charset;
    } cases[] = {
        {"header names the set", "text/html; charset=\"EUC-JP\"", "", kPrefaceEuc, kCharsetEucJp},
        {"header beats meta", "text/html;charset=x-sjis", "<meta charset=euc-jp>", "\xA4\xA2", kCharsetShiftJis},
        {"false header: UTF-8 for EUC-JP bytes", "text/html; charset=utf-8", "", kChapterEuc, kCharsetEucJp},
        {"false header, true meta", "text/html; charset=UTF-8", "<META charset=eucJP>", kPrefaceEuc, kCharsetEucJp},
        {"http-equiv meta", "text/html",
         "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">", kPrefaceEuc,
         kCharsetShiftJis},
        {"false meta: Shift_JIS for UTF-8 bytes", "", "<meta charset=\"shift_jis\">", kChapterUtf8, kCharsetUtf8},
        {"false meta: ISO-2022-JP for 8-bit bytes", "", "<meta charset=csISO2022JP>", kChapterSjis,
         kCharsetShiftJis},
        {"byte order mark", "", "\xEF\xBB\xBF<html><head>", kUtf8Hiragana, kCharsetUtf8},
        {"unknown name", "text/html; charset=iso-8859-1", "", kPrefaceEuc, kCharsetEucJp},
        {"charset outside a meta tag is no declaration", "", "<p>charset=Shift_JIS</p>", kPrefaceEuc,
         kCharsetEucJp},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PageBytes page;
        page.contentType = c.contentType;
        page.head = c.head;
        page.title = c.title.data();
        page.titleLength = c.title.size();
        EXPECT_EQ(PageTitleCharset(page), c.charset);
    }
}

TEST(CharsetGuess, KnowsTheAliasesWhateverTheirCase)
{
    const struct {
        const char* name;
        int charset;
    } cases[] = {
        {"Shift_JIS", kCharsetShiftJis}, {"SHIFT-JIS", kCharsetShiftJis}, {"x-sjis", kCharsetShiftJis},
        {"sjis", kCharsetShiftJis},      {"Windows-31J", kCharsetShiftJis}, {"CP932", kCharsetShiftJis},
        {"MS932", kCharsetShiftJis},     {"euc-jp", kCharsetEucJp},        {"X-EUC-JP", kCharsetEucJp},
        {"eucJP", kCharsetEucJp},        {"ISO-2022-JP", kCharsetJis},     {"csISO2022JP", kCharsetJis},
        {"UTF-8", kCharsetUtf8},         {"Utf8", kCharsetUtf8},           {"utf-16", kCharsetUnknown},
        {"shift_jis2", kCharsetUnknown}, {"", kCharsetUnknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CharsetFromName(c.name, strlen(c.name)), c.charset) << c.name;
}

TEST(CharsetGuess, JisBecomesShiftJisByArithmetic)
{
    size_t lost = 9;
    EXPECT_EQ(JisToShiftJis(kChapterJis.data(), kChapterJis.size(), &lost), kChapterSjis);
    EXPECT_EQ(lost, 0u);
    // Half-width katakana both ways, then a JIS X 0212 character.
    const std::string kana = "\x1B(I12\x1B(B\x0E" "3\x0F" "a\x1B$(D\x30\x21\x1B(B";
    EXPECT_EQ(JisToShiftJis(kana.data(), kana.size(), &lost), "\xB1\xB2\xB3" "a?");
    EXPECT_EQ(lost, 1u);
}

TEST(CharsetGuess, TitlesDecodeReferencesAndFoldWhiteSpace)
{
    const struct {
        std::u16string in, out;
    } cases[] = {
        {u"Tom &amp; Jerry", u"Tom & Jerry"},
        {u"&#12354;&#x3042;&#X3044", u"\u3042\u3042\u3044"},
        {u"&copy;&raquo;&mdash;&hellip;&diams;&yuml;&Omega;&sigmaf;&thetasym;", u"\u00A9\u00BB\u2014\u2026\u2666\u00FF\u03A9\u03C2\u03D1"},
        {u"\r\n\t a&nbsp;&#160;\u00A0b&#9;&#32;c  \r\n", u"a b c"},
        {u"&#150;&#128;&#0;&#x110000;&#x1F600;", u"\u2013\u20AC\uFFFD\uFFFD\U0001F600"},
        {u"&bogus; &amp &Sigmaf; &#; & x", u"&bogus; &amp &Sigmaf; &#; & x"},
        {u" \u00A0&nbsp;&#32; ", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CleanTitleText(c.in.data(), c.in.size()), c.out);
}

TEST(CharsetGuess, BookmarkValuesFoldOnlyRawWhiteSpace)
{
    const struct {
        std::string in, out;
    } cases[] = {
        {std::string("Cloud\xC2\xA0|&nbsp;Google \r\n  &lt;docs&gt;\0!", 39), "Cloud | Google <docs>!"},
        {" &#32;kept&#32;&#32;as written&#9; ", " kept  as written\t"},
        {" \xC2\xA0&nbsp;&#32;\r\n", ""},
    };
    for (const auto& c : cases) {
        std::string utf8 = "x";
        AppendFoldedUtf8(c.in.data(), c.in.size(), utf8);
        EXPECT_EQ(utf8, "x" + c.out);
    }
}
