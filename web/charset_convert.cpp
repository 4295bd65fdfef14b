#include "web/charset_convert.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "web/ado_stream.h"
#include "web/charset_guess.h"
#include "app/com_types.h"
#include "web/jis_kana.h"
#include "web/mlang_convert.h"

namespace {

const UINT kCodePageJis = 50222;     // ISO-2022-JP with half-width katakana
const UINT kCodePageEucJp = 51932;   // MLang's EUC-JP
const size_t kMaxTitle = CSetStrCode::kTitleBufferSize - 1;

// CP_ACP and CP_THREAD_ACP as real numbers, for the lead-byte test.
UINT ResolveCodePage(UINT codePage)
{
    if (codePage == CP_THREAD_ACP) {
        char number[8] = {};
        if (GetLocaleInfoA(GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number) > 0 &&
            atoi(number) > 0)
            return static_cast<UINT>(atoi(number));
        return GetACP();
    }
    return codePage == CP_ACP ? GetACP() : codePage;
}

// Wide text to `codePage` text in out[kTitleBufferSize]. A result longer
// than 519 bytes is cut before a character, never inside one.
bool WideToTitle(UINT codePage, const wchar_t* wide, size_t wideLength, char* out)
{
    if (wideLength == 0) {
        out[0] = '\0';
        return true;
    }
    const int length = static_cast<int>(wideLength);
    const int needed = WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return false;
    std::string text(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(codePage, 0, wide, length, &text[0], needed, nullptr, nullptr) != needed)
        return false;

    const UINT leadCodePage = ResolveCodePage(codePage);
    size_t keep = 0;
    while (keep < text.size()) {
        const size_t step = IsDBCSLeadByteEx(leadCodePage, static_cast<BYTE>(text[keep])) ? 2 : 1;
        if (keep + step > kMaxTitle || keep + step > text.size())
            break;
        keep += step;
    }
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

// EUC-JP through the ADODB stream: written as bytes, read back as text.
HRESULT ReadEucJpStream(const char* raw, int length, Bstr* text)
{
    ComPtr<AdoStream> stream;
    HRESULT hr = stream.Create(kClsidAdoStream, kIidAdoStream,
                               CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                   CLSCTX_REMOTE_SERVER);
    if (FAILED(hr))
        return hr;

    Variant noSource;
    V_VT(&noSource) = VT_ERROR;
    V_ERROR(&noSource) = DISP_E_PARAMNOTFOUND;
    Bstr user(L"");
    Bstr password(L"");
    hr = stream->Open(noSource.Get(), kAdModeUnknown, kAdOpenStreamUnspecified, user.Get(), password.Get());
    if (FAILED(hr))
        return hr;

    Variant bytes;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(length));
    if (array == nullptr) {
        stream->Close();
        return E_OUTOFMEMORY;
    }
    V_VT(&bytes) = VT_ARRAY | VT_UI1;
    V_ARRAY(&bytes) = array;   // destroyed with the variant
    void* data = nullptr;
    hr = SafeArrayAccessData(array, &data);
    if (SUCCEEDED(hr)) {
        memcpy(data, raw, static_cast<size_t>(length));
        hr = SafeArrayUnaccessData(array);
    }

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
        hr = stream->ReadText(kAdReadAll, &*text);
    const HRESULT closed = stream->Close();
    return FAILED(hr) ? hr : closed;
}

}  // namespace

CSetStrCode::~CSetStrCode() = default;

int CSetStrCode::EucJpToAnsi(const char* raw, int length, char* out)
{
    if (length < 0)
        return 0;
    ComApartment com;
    if (!com.Usable())
        return 0;

    Bstr text;
    if (length > 0 && SUCCEEDED(ReadEucJpStream(raw, length, std::addressof(text))))
        return WideToTitle(CP_ACP, text.Get(), text.Length(), out) ? 1 : 0;

    // Wine's stream answers ReadText with E_NOTIMPL.
    std::wstring wide;
    if (!MlangToWide(kCodePageEucJp, raw, static_cast<UINT>(length), &wide))
        return 0;
    return WideToTitle(CP_ACP, wide.data(), wide.size(), out) ? 1 : 0;
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
    return WideToTitle(CP_THREAD_ACP, wide, wcslen(wide), out) ? 1 : 0;
}
