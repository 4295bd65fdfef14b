#pragma once
#include <cstddef>
#include <string>

class CInet;

// What a title fetch found. No window is involved: the dialogs show it.
struct FetchedTitle {
    bool found = false;       // the page had a title (an empty one counts)
    bool converted = false;   // `text` holds the title in the program's code page
    int charset = -1;         // the character set the title was read in
    std::string raw;          // the title's bytes as the page holds them
    std::string text;         // the program text; empty when not converted
    size_t lostCharacters = 0; // characters code page 932 cannot hold, now its default character
    // What the title box shows: the program text, or the raw bytes when
    // they could not be converted.
    const std::string& Shown() const { return converted ? text : raw; }
};

// The title part of a fetch, run on a worker after the address proved
// reachable: reads the page's title and converts it from the given
// character set (-1: the page's declaration when the title's bytes agree
// with it, else detected from them). References and white space are
// cleaned in every case. A title that lost characters to the code page is
// logged in the error log beside the program.
FetchedTitle FetchTitle(CInet& inet, const char* address, int charset);

// A whole page fetch on a client of its own, for a dialog's fetch thread:
// the Last-Modified date, then the title (FetchTitle) when the address
// answered. Offline, nothing is asked and the page counts as reached
// without a title.
struct FetchedPage {
    bool reached = true;
    char update[11] = {};   // the date when dateResult says so
    int dateResult = 0;     // CInet's last-modified result
    FetchedTitle title;
};
FetchedPage FetchPage(const char* address, int charset);
