#pragma once
#include <string>

class CInet;

// What a title fetch found. No window is involved: the dialogs show it.
struct FetchedTitle {
    bool found = false;       // the page had a title (an empty one counts)
    bool converted = false;   // `text` holds the title in the program's code page
    int charset = -1;         // the character set the title was read in
    std::string raw;          // the title's bytes as the page holds them
    std::string text;         // the program text; empty when not converted
    // What the title box shows: the program text, or the raw bytes when
    // they could not be converted.
    const std::string& Shown() const { return converted ? text : raw; }
};

// The title part of a fetch, run on a worker after the address proved
// reachable: reads the page's title and converts it from the given
// character set (-1: guessed from the bytes).
FetchedTitle FetchTitle(CInet& inet, const char* address, int charset);
