#include "app/error_log.h"

#include <share.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void WriteErrorLog(char* text, const char* folder)
{
    if (text == nullptr || folder == nullptr)
        return;
    for (char* p = text; *p != '\0'; ++p) {
        if (*p == '\n')
            *p = ' ';
    }

    // Date and time from one reading of the clock, so midnight cannot split them.
    SYSTEMTIME now;
    GetLocalTime(&now);
    char datePart[64];
    char timePart[64];
    snprintf(datePart, sizeof datePart, "%d/%02d/%02d ", now.wYear, now.wMonth, now.wDay);
    snprintf(timePart, sizeof timePart, "%02d:%02d:%02d, ", now.wHour, now.wMinute, now.wSecond);

    size_t size = strlen(datePart) + strlen(timePart) + strlen(text) + 1;
    char* line = static_cast<char*>(malloc(size));
    if (line == nullptr)
        return;
    snprintf(line, size, "%s%s%s", datePart, timePart, text);

    char logPath[MAX_PATH + 32];
    int n = snprintf(logPath, sizeof logPath, "%s\\linkcairn_error.log", folder);
    if (n > 0 && static_cast<size_t>(n) < sizeof logPath) {
        // Binary append: the line ends with LF alone, no CR translation.
        FILE* file = _fsopen(logPath, "ab", _SH_DENYNO);
        if (file != nullptr) {
            fputs(line, file);
            fputc('\n', file);
            fflush(file);
            fclose(file);
        }
    }
    free(line);
}

void LogModuleError(const char* message, int line, const char* module, const char* exeDir)
{
    char report[512];
    memset(report, 0, sizeof report);
    snprintf(report, sizeof report, "%s, %d, %s", message, line, module);
    WriteErrorLog(report, exeDir);
}

void ReportModuleError(HWND owner, const char* message, const char* boxText,
                       UINT icon, int line, const char* module, const char* exeDir)
{
    MessageBoxA(owner, boxText != nullptr ? boxText : message, "ERROR", MB_OK | icon);
    LogModuleError(message, line, module, exeDir);
}
