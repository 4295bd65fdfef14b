#pragma once

// Character-set codes, in the order of the property dialog's list.
enum TitleCharset {
    kCharsetShiftJis = 0,
    kCharsetJis = 1,
    kCharsetEucJp = 2,
    kCharsetUtf8 = 3,
};

// Guesses the character set of a raw, zero-terminated title from a few
// byte patterns (a leading escape byte, EUC-JP lead bytes two apart, UTF-8
// lead bytes three apart). A heuristic by design: short titles can be
// guessed wrong, and the property dialog lets the user correct it.
int GuessTitleCharset(const char* raw);
