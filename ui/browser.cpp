#include "ui/browser.h"

#include <windows.h>
#include <shellapi.h>

namespace {

void ShellOpen(const char* address)
{
    ShellExecuteA(nullptr, nullptr, address, nullptr, nullptr, SW_SHOWNORMAL);
}

BrowserLauncher browserLauncher = ShellOpen;

}  // namespace

void SetBrowserLauncher(BrowserLauncher launcher)
{
    browserLauncher = launcher != nullptr ? launcher : ShellOpen;
}

void OpenInDefaultBrowser(const char* address)
{
    browserLauncher(address);
}
