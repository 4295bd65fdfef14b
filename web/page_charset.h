#pragma once
#include <cstddef>
#include <string>

// What a fetched page says about its title's character set, and the title.
struct PageBytes {
    std::string contentType;   // the Content-Type header, empty when none
    std::string head;          // the body before the title's opening tag
    const char* title = "";
    size_t titleLength = 0;
};

// The title's character set: the first of the server's charset, a byte
// order mark and the page's <meta> declaration that names a known set the
// title's bytes fit; otherwise detection over the title's bytes.
int PageTitleCharset(const PageBytes& page);
