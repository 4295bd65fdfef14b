#include "dialogs/title_fetch.h"

#include "app/error_log.h"
#include "web/charset_convert.h"
#include "web/charset_guess.h"
#include "web/inet.h"

bool FetchTitle(CInet& inet, const char* address, int charset, HWND titleBox, char* converted,
                const char* module, const char* exeDir)
{
    converted[0] = '\0';
    char raw[CInet::kTitleBufferSize] = {};
    if (inet.ReadTitle(address, raw) == 0)
        return false;
    SetWindowTextA(titleBox, raw);
    if (charset < 0)
        charset = inet.GuessCharset(raw);
    CSetStrCode code;
    if (code.ConvertTitle(charset, raw, converted) == 0) {
        LogModuleError("文字コードの変換に失敗しました", __LINE__, module, exeDir);
        return true;
    }
    if (charset != kCharsetShiftJis)
        SetWindowTextA(titleBox, converted);
    return true;
}
