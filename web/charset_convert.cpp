#include "web/charset_convert.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "app/ansi_text.h"
#include "app/html_text.h"
#include "web/charset_guess.h"
#include "web/jis_kana.h"
#include "web/mlang_convert.h"

namespace {

const UINT kCodePageJis = 50222;     // ISO-2022-JP with half-width katakana
const UINT kCodePageEucJp = 51932;   // MLang's EUC-JP
const UINT kCodePageEucJpKernel = 20932;   // the kernel's EUC-JP, also under Wine
const size_t kMaxTitle = CSetStrCode::kTitleBufferSize - 1;

// How many characters of the wide text the code page cannot hold: each
// one alone, a surrogate pair together.
size_t CountLost(const wchar_t* wide, size_t length)
{
    size_t lost = 0;
    for (size_t i = 0; i < length;) {
        const int n = IS_HIGH_SURROGATE(wide[i]) && i + 1 < length && IS_LOW_SURROGATE(wide[i + 1]) ? 2 : 1;
        char bytes[8];
        BOOL usedDefault = FALSE;
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide + i, n, bytes, sizeof bytes, nullptr, &usedDefault);
        lost += usedDefault ? 1 : 0;
        i += static_cast<size_t>(n);
    }
    return lost;
}

// Wide text to program text. No best fit: a character the code page lacks
// becomes its default character rather than a different one that looks
// alike ("e" for "\u00e9"). *lost, when given, counts them.
bool WideToAnsi(const wchar_t* wide, size_t wideLength, std::string* text, size_t* lost)
{
    text->clear();
    if (lost != nullptr)
        *lost = 0;
    if (wideLength == 0)
        return true;
    const int length = static_cast<int>(wideLength);
    BOOL usedDefault = FALSE;
    const int needed =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0, nullptr, &usedDefault);
    if (needed <= 0)
        return false;
    text->assign(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, length, &(*text)[0], needed, nullptr, nullptr) !=
        needed)
        return false;
    if (usedDefault && lost != nullptr)
        *lost = CountLost(wide, wideLength);
    return true;
}

// `length` bytes of `codePage` to wide text; false when the platform
// refuses the code page or the bytes.
bool BytesToWide(UINT codePage, const char* raw, size_t length, std::wstring* wide)
{
    wide->clear();
    if (length == 0)
        return true;
    const int n = MultiByteToWideChar(codePage, 0, raw, static_cast<int>(length), nullptr, 0);
    if (n <= 0)
        return false;
    wide->resize(static_cast<size_t>(n));
    return MultiByteToWideChar(codePage, 0, raw, static_cast<int>(length), &(*wide)[0], n) == n;
}

// Wide text to program text in out[kTitleBufferSize]. A result longer than
// 519 bytes is cut before a character, never inside one.
bool WideToTitle(const wchar_t* wide, size_t wideLength, char* out)
{
    std::string text;
    if (!WideToAnsi(wide, wideLength, &text, nullptr))
        return false;
    const size_t keep = CutAnsiLength(text.data(), text.size(), kMaxTitle);
    memcpy(out, text.data(), keep);
    out[keep] = '\0';
    return true;
}

// Zero-terminated `codePage` text to wide[kWideBufferChars] by the
// platform: 1 or 0, or -1 when the platform refuses the code page itself.
int PlatformToWide(UINT codePage, const char* raw, wchar_t* wide)
{
    const int needed = MultiByteToWideChar(codePage, 0, raw, -1, nullptr, 0);
    if (needed > CSetStrCode::kWideBufferChars)
        return 0;
    if (needed > 0)
        return MultiByteToWideChar(codePage, 0, raw, -1, wide, needed) > 0 ? 1 : 0;
    return -1;
}

int MlangTitleToWide(UINT codePage, const std::string& bytes, wchar_t* wide)
{
    std::wstring text;
    if (!MlangToWide(codePage, bytes.data(), static_cast<UINT>(bytes.size()), &text) ||
        text.size() >= static_cast<size_t>(CSetStrCode::kWideBufferChars))
        return 0;
    wmemcpy(wide, text.data(), text.size());
    wide[text.size()] = L'\0';
    return 1;
}

}  // namespace

HRESULT ReadEucJpStream(AdoStream* stream, const char* raw, int length, Bstr* text)
{
    Variant noSource = Variant::Missing();
    Bstr user(L"");
    Bstr password(L"");
    HRESULT hr = stream->Open(noSource.Get(), kAdModeUnknown, kAdOpenStreamUnspecified, user.Get(),
                              password.Get());
    if (FAILED(hr))
        return hr;

    Variant bytes;
    hr = Variant::Bytes(raw, static_cast<size_t>(length), &bytes);
    Bstr charset(L"EUC-JP");
    if (SUCCEEDED(hr))
        hr = stream->put_Type(kAdTypeBinary);
    if (SUCCEEDED(hr))
        hr = stream->Write(bytes.Get());
    if (SUCCEEDED(hr))
        hr = stream->put_Position(0);
    if (SUCCEEDED(hr))
        hr = stream->put_Type(kAdTypeText);
    if (SUCCEEDED(hr))
        hr = stream->put_Charset(charset.Get());
    if (SUCCEEDED(hr))
        hr = stream->ReadText(kAdReadAll, text->Receive());
    const HRESULT closed = stream->Close();
    return FAILED(hr) ? hr : closed;
}

CSetStrCode::~CSetStrCode() = default;

HRESULT CSetStrCode::OpenAdoStream(ComPtr<AdoStream>* stream)
{
    return stream->Create(kClsidAdoStream, kIidAdoStream,
                          CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                              CLSCTX_REMOTE_SERVER);
}

int CSetStrCode::EucJpToAnsi(const char* raw, int length, char* out)
{
    if (length < 0)
        return 0;
    ComApartment com;
    if (!com.Usable())
        return 0;

    Bstr text;
    ComPtr<AdoStream> stream;
    if (length > 0 && SUCCEEDED(OpenAdoStream(&stream)) &&
        SUCCEEDED(ReadEucJpStream(stream.Get(), raw, length, &text)))
        return WideToTitle(text.Get(), text.Length(), out) ? 1 : 0;

    // Wine's stream answers ReadText with E_NOTIMPL.
    std::wstring wide;
    if (!MlangToWide(kCodePageEucJp, raw, static_cast<UINT>(length), &wide))
        return 0;
    return WideToTitle(wide.data(), wide.size(), out) ? 1 : 0;
}

int CSetStrCode::JisToWide(const char* raw, wchar_t* wide)
{
    const int done = PlatformToWide(kCodePageJis, raw, wide);
    if (done >= 0)
        return done;
    // Wine refuses 50222 here; its MLang converts it but needs the
    // half-width katakana in their 8-bit form.
    return MlangTitleToWide(kCodePageJis, JisKanaToEightBit(raw, strlen(raw)), wide);
}

int CSetStrCode::Utf8ToWide(const char* raw, wchar_t* wide)
{
    const int done = PlatformToWide(CP_UTF8, raw, wide);
    if (done >= 0)
        return done;
    return MlangTitleToWide(CP_UTF8, raw, wide);
}

int CSetStrCode::ConvertTitle(int charset, const char* raw, char* out)
{
    std::string text;
    size_t lost = 0;
    if (!ConvertTitleText(charset, raw, strnlen(raw, kTitleBufferSize - 1), &text, &lost))
        return 0;
    lstrcpynA(out, text.c_str(), kTitleBufferSize);
    return 1;
}

int CSetStrCode::ConvertTitleText(int charset, const char* raw, size_t length, std::string* out, size_t* lost)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "titles are cleaned as UTF-16");
    *lost = 0;
    size_t complete = length;
    if (!BytesFitCharset(charset, raw, length, &complete))
        complete = length;
    const std::string bytes(raw, complete);

    std::wstring wide;
    size_t jisLost = 0;   // JIS X 0212 characters, "?" already
    switch (charset) {
    case kCharsetShiftJis:
        if (!BytesToWide(932, bytes.data(), bytes.size(), &wide))
            return 0;
        break;
    case kCharsetJis: {
        // By arithmetic to Shift-JIS: the same text as code page 50222 gives
        // where the system has it, also under Wine, and without a COM object
        // per title.
        size_t unknown = 0;
        const std::string sjis = JisToShiftJis(bytes.data(), bytes.size(), &unknown);
        if (!BytesToWide(932, sjis.data(), sjis.size(), &wide))
            return 0;
        jisLost = unknown;
        break;
    }
    case kCharsetEucJp:
        if (!BytesToWide(kCodePageEucJpKernel, bytes.data(), bytes.size(), &wide)) {
            // A system without code page 20932: the stream object or MLang.
            char ansi[kTitleBufferSize] = {};
            if (!EucJpToAnsi(bytes.data(), static_cast<int>(bytes.size()), ansi) ||
                !BytesToWide(CP_ACP, ansi, strlen(ansi), &wide))
                return 0;
        }
        break;
    case kCharsetUtf8:
        if (!BytesToWide(CP_UTF8, bytes.data(), bytes.size(), &wide))
            return 0;
        break;
    default:
        return 0;
    }
    const std::u16string clean =
        CleanTitleText(reinterpret_cast<const char16_t*>(wide.data()), wide.size());
    std::string text;
    if (!WideToAnsi(reinterpret_cast<const wchar_t*>(clean.data()), clean.size(), &text, lost))
        return 0;
    *lost += jisLost;
    text.resize(CutAnsiLength(text.data(), text.size(), kMaxTitle));
    out->swap(text);
    return 1;
}
