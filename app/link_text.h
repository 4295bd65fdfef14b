#pragma once
#include <cstddef>
#include <string>

// Recognising a web address handed in from outside (a drop, the clipboard,
// the command line), free of any window code: plain functions over bytes.

// The longest address an entry holds (its field, less the terminator).
constexpr size_t kLinkAddressLimit = 1023;

// text (up to its first NUL) is one absolute http, https or ftp address,
// with nothing around it but white space: the address, trimmed, goes to
// *address. Letter case of the scheme does not matter; a host must follow.
bool ReadOneAddress(const char* text, size_t length, std::string* address);

// UTF-16LE bytes (up to the first NUL character) as ASCII: characters
// beyond ASCII become percent-encoded UTF-8, as an address carries them.
// False for a lone surrogate, whose meaning is unknown.
bool WideToAddressText(const unsigned char* bytes, size_t length, std::string* out);

// The address of an Internet Shortcut (.url) file: the URL= line of its
// [InternetShortcut] section, when that is one address.
bool ReadShortcutAddress(const char* bytes, size_t length, std::string* address);
