#include "web/title_fetch.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/error_log.h"
#include "app/path_text.h"
#include "web/charset_convert.h"
#include "web/inet.h"
#include "web/page_charset.h"

namespace {

const char kModule[] = ".\\TitleFetch";

// The dialogs log beside the program; so does this, from the worker.
void LogLostCharacters(size_t lost, int line)
{
    char folder[MAX_PATH] = {};
    if (GetModuleFileNameA(nullptr, folder, sizeof folder - 1) == 0 || !CutAtLastBackslash(folder))
        return;
    char message[160];
    snprintf(message, sizeof message, "タイトルの %zu 文字はコードページ 932 にないため、既定の文字になりました",
             lost);
    LogModuleError(message, line, kModule, folder);
}

}  // namespace

FetchedPage FetchPage(const char* address, int charset)
{
    FetchedPage page;
    CInet inet;
    if (inet.OpenInternet() == 0)
        return page;
    page.dateResult = inet.QueryLastModified(address, page.update);
    if (page.dateResult == CInet::kNotOpened)
        page.reached = false;
    else
        page.title = FetchTitle(inet, address, charset);
    inet.CloseInternet();
    return page;
}

FetchedTitle FetchTitle(CInet& inet, const char* address, int charset)
{
    FetchedTitle result;
    char raw[CInet::kTitleBufferSize] = {};
    PageBytes page;
    if (inet.ReadTitle(address, raw, &page) == 0)
        return result;
    result.found = true;
    result.raw = raw;
    page.title = result.raw.data();
    page.titleLength = result.raw.size();
    result.charset = charset < 0 ? PageTitleCharset(page) : charset;
    CSetStrCode code;
    if (code.ConvertTitleText(result.charset, result.raw.data(), result.raw.size(), &result.text,
                              &result.lostCharacters) != 0)
        result.converted = true;
    if (result.lostCharacters > 0)
        LogLostCharacters(result.lostCharacters, __LINE__);
    return result;
}
