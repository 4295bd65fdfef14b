#include "dialogs/dialog_context.h"

#include <cstdio>
#include <vector>

#include "app/error_log.h"
#include "app/ini_settings.h"

const char* DialogContext::ExeDir() const
{
    return settings != nullptr ? settings->ExeDir() : "";
}

std::string ControlText(HWND control, int size)
{
    std::vector<char> text(static_cast<size_t>(size), '\0');
    GetWindowTextA(control, text.data(), size);
    return text.data();
}

void LimitEntryBoxes(HWND title, HWND address, HWND comment)
{
    SendMessageA(title, EM_LIMITTEXT, 520, 0);
    SendMessageA(address, EM_LIMITTEXT, 1024, 0);
    SendMessageA(comment, EM_LIMITTEXT, 1024, 0);
}

void FormatToday(char* out, size_t size)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    snprintf(out, size, "%d/%02d/%02d", now.wYear, now.wMonth, now.wDay);
}

const char* StoredValid(const char* shown)
{
    return lstrcmpA(shown, "無効") == 0 ? "0" : "1";
}

void ReportThreadFailure(HWND dialog, const DialogContext& context, int line, const char* module)
{
    ReportModuleError(dialog, "スレッドの作成に失敗しました", nullptr, MB_ICONWARNING, line, module,
                      context.ExeDir());
}
