#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <thread>

#include "web/charset_convert.h"
#include "web/charset_guess.h"

// Expected texts are code page 932 (the sources are compiled to it); raw
// titles in other encodings are byte escapes or u8 literals.
namespace {

const char kJisTitle[] = "Page \x1b$BF|K\\8l$N%Z!<%8\x1b(I123\x1b(B";
const char kEucTitle[] = "Page \xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xDA\xA1\xBC\xA5\xB8\x8E\xB1\x8E\xB2\x8E\xB3";
const char kUtf8Title[] = u8"Page 日本語のページｱｲｳ";
const char kProgramText[] = "Page 日本語のページｱｲｳ";

// The dialogs' 520-byte buffer with a guard behind it.
struct Output {
    char text[CSetStrCode::kTitleBufferSize];
    char guard[8];
    Output()
    {
        memset(text, 'o', sizeof text);
        text[sizeof text - 1] = '\0';
        memset(guard, 'G', sizeof guard);
    }
    bool GuardIntact() const { return memcmp(guard, "GGGGGGGG", sizeof guard) == 0; }
};

int Convert(int charset, const std::string& raw, Output* out)
{
    CSetStrCode convert;
    return convert.ConvertTitle(charset, raw.c_str(), out->text);
}

std::string Repeat(const std::string& unit, size_t times)
{
    std::string s;
    for (size_t i = 0; i < times; ++i)
        s += unit;
    return s;
}

}  // namespace

TEST(CharsetConvert, RunsUnderTheJapaneseCodePage)
{
    ASSERT_EQ(GetACP(), 932u) << "run the tests with the ja_JP locale";
}

TEST(CharsetConvert, EachCharsetBecomesProgramText)
{
    const struct {
        int charset;
        const char* raw;
    } cases[] = {
        {kCharsetJis, kJisTitle},
        {kCharsetEucJp, kEucTitle},
        {kCharsetUtf8, kUtf8Title},
        {kCharsetShiftJis, kProgramText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.charset);
        Output out;
        EXPECT_EQ(Convert(c.charset, c.raw, &out), 1);
        EXPECT_STREQ(out.text, kProgramText);
    }
}

TEST(CharsetConvert, UnrepresentableCharactersBecomeTheDefaultCharacter)
{
    Output utf8;
    EXPECT_EQ(Convert(kCharsetUtf8, "a\xED\x95\x9C" "b", &utf8), 1);
    EXPECT_STREQ(utf8.text, "a?b");
}

TEST(CharsetConvert, TitlesAreShownCleanAndLostCharactersCounted)
{
    const struct {
        int charset;
        std::string raw, text;
        size_t lost;
    } cases[] = {
        // No best fit: "\u00e9" is not filed as "e".
        {kCharsetUtf8, "caf\xC3\xA9 &amp;\r\n\t x&hellip;", "caf? & x\x81\x63", 1},
        {kCharsetShiftJis, "\x82\xA0&nbsp;\t&#x3044;  ", "\x82\xA0 \x82\xA2", 0},
        {kCharsetEucJp, "\xA4\xA2&#233;&#x1F600;", "\x82\xA0???", 2},   // a pair: two defaults, one character
        {kCharsetJis, "\x1B$B$\"\x1B(B &lt;&#12354;&gt;", "\x82\xA0 <\x82\xA0>", 0},
    };
    for (const auto& c : cases) {
        CSetStrCode convert;
        std::string text;
        size_t lost = 9;
        ASSERT_EQ(convert.ConvertTitleText(c.charset, c.raw.data(), c.raw.size(), &text, &lost), 1) << c.raw;
        EXPECT_EQ(text, c.text) << c.raw;
        EXPECT_EQ(lost, c.lost) << c.raw;
    }
}

TEST(CharsetConvert, EmptyTitleConvertsToEmptyText)
{
    for (int charset : {kCharsetShiftJis, kCharsetJis, kCharsetEucJp, kCharsetUtf8}) {
        Output out;
        EXPECT_EQ(Convert(charset, "", &out), 1) << charset;
        EXPECT_STREQ(out.text, "") << charset;
    }
}

TEST(CharsetConvert, UnknownCharsetYieldsNothing)
{
    Output out;
    EXPECT_EQ(Convert(4, "abc", &out), 0);
    EXPECT_EQ(Convert(-1, "abc", &out), 0);
    EXPECT_EQ(out.text[0], 'o');
}

TEST(CharsetConvert, LongTitlesStayInsideTheBuffers)
{
    // 519 bytes of UTF-8: 173 hiragana, 346 bytes of program text.
    Output full;
    EXPECT_EQ(Convert(kCharsetUtf8, Repeat(u8"あ", 173), &full), 1);
    EXPECT_EQ(std::string(full.text), Repeat("あ", 173));
    EXPECT_TRUE(full.GuardIntact());

    Output ascii;
    EXPECT_EQ(Convert(kCharsetUtf8, std::string(519, 'a'), &ascii), 1);
    EXPECT_EQ(strlen(ascii.text), 519u);
    EXPECT_TRUE(ascii.GuardIntact());

    // Longer raw titles are cut to 519 bytes first; a character cut in two
    // is dropped.
    Output cut;
    EXPECT_EQ(Convert(kCharsetUtf8, std::string(518, 'a') + Repeat(u8"あ", 300), &cut), 1);
    EXPECT_EQ(std::string(cut.text), std::string(518, 'a'));
    EXPECT_TRUE(cut.GuardIntact());

    Output jis;
    EXPECT_EQ(Convert(kCharsetJis, "\x1b$B" + Repeat("$\"", 400) + "\x1b(B", &jis), 1);
    EXPECT_EQ(std::string(jis.text), Repeat("あ", 258));
    EXPECT_TRUE(jis.GuardIntact());

    Output euc;
    EXPECT_EQ(Convert(kCharsetEucJp, "a" + Repeat("\xA4\xA2", 400), &euc), 1);
    EXPECT_EQ(std::string(euc.text), "a" + Repeat("あ", 259));
    EXPECT_TRUE(euc.GuardIntact());

    Output sjis;
    EXPECT_EQ(Convert(kCharsetShiftJis, std::string(800, 's'), &sjis), 1);
    EXPECT_EQ(strlen(sjis.text), 519u);
    EXPECT_TRUE(sjis.GuardIntact());
}

TEST(CharsetConvert, WideStepsGiveUtf16)
{
    CSetStrCode convert;
    wchar_t wide[CSetStrCode::kWideBufferChars];
    ASSERT_EQ(convert.JisToWide("\x1b$B$\"\x1b(I1\x1b(B!", wide), 1);
    EXPECT_STREQ(wide, L"\x3042\xFF71!");
    // Half-width katakana also come as SO ... SI shifts.
    ASSERT_EQ(convert.JisToWide("\x1b$B$\"\x1b(J\x0e" "12\x0f!", wide), 1);
    EXPECT_STREQ(wide, L"\x3042\xFF71\xFF72!");
    ASSERT_EQ(convert.Utf8ToWide(u8"\u3042\uFF71!", wide), 1);
    EXPECT_STREQ(wide, L"\x3042\xFF71!");

    char out[CSetStrCode::kTitleBufferSize];
    ASSERT_EQ(convert.EucJpToAnsi("\xA4\xA2\x8E\xB1!", 5, out), 1);
    EXPECT_STREQ(out, "あｱ!");
    // The length counts, not a terminating zero.
    ASSERT_EQ(convert.EucJpToAnsi("\xA4\xA2\xA4\xA4", 2, out), 1);
    EXPECT_STREQ(out, "あ");
}

TEST(CharsetConvert, EucJpLeavesComAsItFoundIt)
{
    HRESULT after = E_FAIL;
    int converted = 0;
    std::thread([&] {
        char out[CSetStrCode::kTitleBufferSize];
        CSetStrCode convert;
        converted = convert.EucJpToAnsi("\xA4\xA2", 2, out);
        // Not initialised any more: a fresh multithreaded start succeeds.
        after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(after))
            CoUninitialize();
    }).join();
    EXPECT_EQ(converted, 1);
    EXPECT_EQ(after, S_OK);

    // A worker already in the multithreaded apartment converts all the same
    // and stays in it.
    std::thread([&] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        char out[CSetStrCode::kTitleBufferSize];
        CSetStrCode convert;
        converted = convert.EucJpToAnsi("\xA4\xA2", 2, out);
        after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CoUninitialize();
        CoUninitialize();
    }).join();
    EXPECT_EQ(converted, 1);
    EXPECT_EQ(after, S_FALSE);
}

namespace {

// An ADODB stream that keeps what Write receives and reads back a fixed text.
class RecordingStream : public AdoStream {
public:
    std::string written;
    VARTYPE writtenType = VT_EMPTY;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_Size(AdoLongPtr*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_EOS(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Position(AdoLongPtr*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Position(AdoLongPtr) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_Type(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Type(long) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE get_LineSeparator(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_LineSeparator(long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_State(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Mode(long*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Mode(long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Charset(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Charset(BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Read(long, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Open(VARIANT, long, long, BSTR, BSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SkipLine() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Write(VARIANT buffer) override
    {
        writtenType = buffer.vt;
        if (buffer.vt != (VT_ARRAY | VT_UI1))
            return E_INVALIDARG;
        void* data = nullptr;
        if (FAILED(SafeArrayAccessData(buffer.parray, &data)))
            return E_FAIL;
        written.assign(static_cast<const char*>(data), buffer.parray->rgsabound[0].cElements);
        SafeArrayUnaccessData(buffer.parray);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetEOS() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(AdoStream*, AdoLongPtr) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Flush() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SaveToFile(BSTR, long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LoadFromFile(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReadText(long, BSTR* text) override
    {
        *text = SysAllocString(L"あ");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE WriteText(BSTR, long) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Cancel() override { return E_NOTIMPL; }

private:
    ULONG refs_ = 1;
};

class ConverterOverStream : public CSetStrCode {
public:
    explicit ConverterOverStream(RecordingStream* stream) : stream_(stream) {}

protected:
    HRESULT OpenAdoStream(ComPtr<AdoStream>* stream) override
    {
        *stream = ComPtr<AdoStream>::Share(stream_);
        return S_OK;
    }

private:
    RecordingStream* stream_;
};

}  // namespace

TEST(CharsetConvert, TheEucJpBytesReachTheStreamAndItsTextIsTaken)
{
    RecordingStream stream;
    ConverterOverStream convert(&stream);
    char out[CSetStrCode::kTitleBufferSize] = {};
    ASSERT_EQ(convert.EucJpToAnsi("\xA4\xA2\x8E\xB1", 4, out), 1);
    EXPECT_EQ(stream.writtenType, VT_ARRAY | VT_UI1);
    EXPECT_EQ(stream.written, "\xA4\xA2\x8E\xB1");
    EXPECT_STREQ(out, "あ") << "the stream's text, not the fallback's";
}
