#include "web/mlang_convert.h"

#include <mlang.h>

#include "app/com_types.h"

namespace {

// Neither is in mingw's import libraries.
const CLSID kClsidMultiLanguage = {0x275C23E2, 0x3747, 0x11D0, {0x9F, 0xEA, 0x00, 0xAA, 0x00, 0x3F, 0x86, 0x46}};
const IID kIidMultiLanguage2 = {0xDCCFC164, 0x2B38, 0x11D2, {0xB7, 0xEC, 0x00, 0xC0, 0x4F, 0x8F, 0x5D, 0x9A}};

}  // namespace

bool MlangToWide(UINT codePage, const char* bytes, UINT length, std::wstring* text)
{
    text->clear();
    if (length == 0)
        return true;
    ComApartment com;
    if (!com.Usable())
        return false;
    ComPtr<IMultiLanguage2> mlang;
    if (FAILED(mlang.Create(kClsidMultiLanguage, kIidMultiLanguage2)))
        return false;

    // ConvertStringToUnicode takes a non-const source; it does not write it.
    CHAR* source = const_cast<CHAR*>(bytes);
    DWORD mode = 0;
    UINT sourceSize = length;
    UINT needed = 0;
    // S_FALSE means the code page is not supported: no success either.
    if (mlang->ConvertStringToUnicode(&mode, codePage, source, &sourceSize, nullptr, &needed) != S_OK)
        return false;
    if (needed == 0)
        return true;

    std::wstring converted(needed, L'\0');
    mode = 0;
    sourceSize = length;
    UINT written = needed;
    if (mlang->ConvertStringToUnicode(&mode, codePage, source, &sourceSize, &converted[0], &written) != S_OK ||
        written > needed)
        return false;
    converted.resize(written);
    text->swap(converted);
    return true;
}
