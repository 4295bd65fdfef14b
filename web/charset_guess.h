#pragma once
#include "app/charset_detect.h"

// The character set of a raw, zero-terminated title decided from its bytes
// alone (DetectCharset): what the new-entry dialog uses when the page
// declares nothing the bytes agree with.
int GuessTitleCharset(const char* raw);
