#include "web/title_fetch.h"

#include "web/charset_convert.h"
#include "web/charset_guess.h"
#include "web/inet.h"

FetchedTitle FetchTitle(CInet& inet, const char* address, int charset)
{
    FetchedTitle result;
    char raw[CInet::kTitleBufferSize] = {};
    if (inet.ReadTitle(address, raw) == 0)
        return result;
    result.found = true;
    result.raw = raw;
    result.charset = charset < 0 ? inet.GuessCharset(raw) : charset;
    char converted[CSetStrCode::kTitleBufferSize] = {};
    CSetStrCode code;
    if (code.ConvertTitle(result.charset, raw, converted) != 0) {
        result.converted = true;
        result.text = converted;
    }
    return result;
}
