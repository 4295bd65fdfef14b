#pragma once

// Opens an address in the default browser: the shell's default verb, no
// owner window. Tests may put a launcher of their own in its place.
using BrowserLauncher = void (*)(const char* address);
void SetBrowserLauncher(BrowserLauncher launcher);
void OpenInDefaultBrowser(const char* address);
