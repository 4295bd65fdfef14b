#pragma once
#include <cstddef>

// Status-bar text for a store file size. One megabyte counts 1,024,000 bytes
// and both thresholds are strict (1024 stays in bytes, 1,024,000 stays in KB).
void FormatSizeText(int size, char* out, size_t outSize);
