#pragma once
#include <windows.h>
#include <objidl.h>

#include <string>

#include "ui/dialog_runner.h"

// Where a page handed in from outside comes from: a data object (a drop),
// the clipboard, the command line or another copy of the program. The
// address itself is recognised by app/link_text.

// The page a data object carries, address and (where the drag names one)
// title, the destination left unset. Formats, first that holds one
// address: UniformResourceLocatorW, UniformResourceLocator, text/x-moz-url,
// FileContents of the one .url a FileGroupDescriptorW names, a CF_HDROP of
// one .url file, CF_UNICODETEXT, CF_TEXT. The .url's name (without ".url")
// is the title, else the link's text that text/x-moz-url carries.
bool ReadDroppedLink(IDataObject* data, NewEntryRequest* link);

// The one address the clipboard's text holds.
bool ReadClipboardLink(HWND owner, std::string* address);

// A command-line argument: an address, or the path of a .url file (what a
// "送る" entry hands over).
bool ReadArgumentLink(const wchar_t* argument, std::string* address);
// The first argument of the program's own command line, read that way.
bool ReadCommandLineLink(std::string* address);

// Hands address to the copy of the program that runs (WM_COPYDATA to its
// window); false when none took it.
bool SendLinkToRunningCopy(const std::string& address);
// The address another copy handed over, checked again.
bool ReadHandedLink(const COPYDATASTRUCT* data, std::string* address);
