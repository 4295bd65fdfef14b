#pragma once
#include <windows.h>

#include <string>

// Converts `length` bytes of `codePage` text to wide text through MLang's
// IMultiLanguage2::ConvertStringToUnicode. Stands in for the platform's
// own converters where they refuse a code page: Wine's MultiByteToWideChar
// fails for 50222 and 51932 and its ADODB stream cannot ReadText, while
// MLang converts both. Initialises COM for the call when needed.
bool MlangToWide(UINT codePage, const char* bytes, UINT length, std::wstring* text);
