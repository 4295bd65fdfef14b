#pragma once
#include <windows.h>

#include <string>

#include "app/com_types.h"
#include "web/ado_stream.h"

// Converts a raw page title in JIS, EUC-JP or UTF-8 to program text (the
// ANSI code page, 932). One object per conversion, on the worker's stack.
// Characters the code page cannot show become its default character.
class CSetStrCode {
public:
    static constexpr int kTitleBufferSize = 520;   // 519 bytes and a zero
    static constexpr int kWideBufferChars = 520;

    CSetStrCode() = default;
    virtual ~CSetStrCode();
    CSetStrCode(const CSetStrCode&) = delete;
    CSetStrCode& operator=(const CSetStrCode&) = delete;

    // `length` EUC-JP bytes to system-ANSI text in `out` (kTitleBufferSize
    // bytes, at most 519 kept). Runs in COM of its own and leaves the
    // thread's COM state as it found it. 1 on success; `out` is written only
    // then.
    int EucJpToAnsi(const char* raw, int length, char* out);

    // Zero-terminated ISO-2022-JP (with half-width katakana) or UTF-8 to
    // wide text in `wide` (kWideBufferChars). 0 when the text cannot be
    // converted or would not fit.
    int JisToWide(const char* raw, wchar_t* wide);
    int Utf8ToWide(const char* raw, wchar_t* wide);

    // The title conversion of the dialogs: character-set code 1 (JIS),
    // 2 (EUC-JP) or 3 (UTF-8); code 0 (Shift-JIS) copies the raw title.
    // Only the first 519 bytes of `raw` are converted. On success returns 1
    // and writes at most 519 bytes and a zero to `out` (kTitleBufferSize);
    // on failure returns 0 and leaves `out` alone.
    int ConvertTitle(int charset, const char* raw, char* out);

    // The same for `length` raw bytes, as the title is shown: character
    // references decoded, white space folded (see CleanTitleText), a
    // character cut off at the end dropped. Characters that code page 932
    // cannot hold become its default character, never a look-alike; their
    // number goes to *lost. On success returns 1 and sets *out (at most
    // 519 bytes); on failure returns 0.
    int ConvertTitleText(int charset, const char* raw, size_t length, std::string* out, size_t* lost);

protected:
    // The ADODB stream for EUC-JP; tests put a stream of their own here.
    virtual HRESULT OpenAdoStream(ComPtr<AdoStream>* stream);
};

// EUC-JP bytes through an ADODB stream: written as bytes, read back as text.
HRESULT ReadEucJpStream(AdoStream* stream, const char* raw, int length, Bstr* text);
