#include "dialogs/dialog_context.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/ansi_text.h"
#include "app/error_log.h"
#include "app/ini_settings.h"
#include "store/records.h"
#include "store/text_convert.h"

const char* DialogContext::ExeDir() const
{
    return settings != nullptr ? settings->ExeDir() : "";
}

std::string ControlText(HWND control, int size)
{
    // Read whole, then cut: a box limits characters, a field holds bytes,
    // and a cut made by the read could end inside a character.
    int length = GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    CutAnsiInPlace(text.data(), size > 0 ? static_cast<size_t>(size - 1) : 0);
    return text.data();
}

void LimitEntryBoxes(HWND title, HWND address, HWND comment)
{
    SendMessageA(title, EM_LIMITTEXT, kTitleSize, 0);
    SendMessageA(address, EM_LIMITTEXT, kAddressSize, 0);
    SendMessageA(comment, EM_LIMITTEXT, kCommentSize, 0);
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

void PutField(RecordText& field, const std::string& text, size_t width)
{
    field = CutAnsi(text.c_str(), width);
}
