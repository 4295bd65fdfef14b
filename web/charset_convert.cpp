#include "web/charset_convert.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "app/ansi_text.h"
#include "web/charset_guess.h"
#include "web/jis_kana.h"
#include "web/mlang_convert.h"

namespace {

const UINT kCodePageJis = 50222;     // ISO-2022-JP with half-width katakana
const UINT kCodePageEucJp = 51932;   // MLang's EUC-JP
const size_t kMaxTitle = CSetStrCode::kTitleBufferSize - 1;

// Wide text to program text in out[kTitleBufferSize]. A result longer than
// 519 bytes is cut before a character, never inside one.
bool WideToTitle(const wchar_t* wide, size_t wideLength, char* out)
{
    if (wideLength == 0) {
        out[0] = '\0';
        return true;
    }
    const int length = static_cast<int>(wideLength);
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return false;
    std::string text(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide, length, &text[0], needed, nullptr, nullptr) != needed)
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
    char rawCopy[kTitleBufferSize];
    char working[kTitleBufferSize];
    wchar_t wide[kWideBufferChars] = {};
    lstrcpynA(rawCopy, raw, sizeof rawCopy);
    lstrcpynA(working, raw, sizeof working);

    switch (charset) {
    case kCharsetShiftJis:
        lstrcpynA(out, rawCopy, kTitleBufferSize);
        return 1;
    case kCharsetJis:
        if (!JisToWide(working, wide))
            return 0;
        break;
    case kCharsetEucJp:
        if (!EucJpToAnsi(rawCopy, lstrlenA(rawCopy), working))
            return 0;
        lstrcpynA(out, working, kTitleBufferSize);
        return 1;
    case kCharsetUtf8:
        if (!Utf8ToWide(working, wide))
            return 0;
        break;
    default:
        return 0;
    }
    return WideToTitle(wide, wcslen(wide), out) ? 1 : 0;
}
