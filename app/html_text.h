#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Character references and white space of HTML text, as a browser reads a
// page title or a bookmark file's values. Plain functions over code units.

// The character of a named reference (the name without '&' and ';'): the
// 252 names of HTML 4 and "apos"; 0 for any other name.
uint32_t NamedReferenceCode(const char* name, size_t length);

// Reads the reference at text[0] == '&' ("&#12354;", "&#x3042;", "&amp;").
// Returns the code units it spans and its character in *code, or 0 when it
// is no reference (the '&' then stands for itself). A numeric reference
// may lack its ';', a named one may not.
size_t ReadReference(const char* text, size_t length, uint32_t* code);
size_t ReadReference(const char16_t* text, size_t length, uint32_t* code);

// The white space a title folds: space, TAB, CR, LF, FF and no-break space.
bool IsFoldedSpace(uint32_t code);

// Appends `code` as UTF-8; a value that is no character (zero, a surrogate,
// beyond U+10FFFF) becomes U+FFFD.
void AppendUtf8(uint32_t code, std::string& out);

// A title as shown: references decoded, every run of white space (written
// raw or as a reference) one space, none at either end.
std::u16string CleanTitleText(const char16_t* text, size_t length);
// A value of a bookmark file, in UTF-8, appended to out: references
// decoded, every run of raw white space one space and none at either end
// (files wrap long values over lines), but white space written as a
// reference kept as written; a no-break space, raw or not, is a space. A
// zero byte is dropped; a value of nothing but white space is empty.
void AppendFoldedUtf8(const char* text, size_t length, std::string& out);
