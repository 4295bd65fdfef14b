#pragma once
#include <windows.h>

class CInet;

// The title part of a fetch, shared by the new-entry and property dialogs,
// run on their worker thread after the address proved reachable: reads the
// page's title, shows its raw bytes in titleBox, converts them from the
// given character set (-1: guessed from the bytes) and shows the result.
// A failed conversion leaves the raw bytes in the box and is logged under
// module. Returns whether the page had a title; *converted (520 bytes)
// receives the program text, or stays empty when the conversion failed.
bool FetchTitle(CInet& inet, const char* address, int charset, HWND titleBox, char* converted,
                const char* module, const char* exeDir);
