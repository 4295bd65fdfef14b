#include "web/page_charset.h"

#include "app/charset_detect.h"

namespace {

int Named(const std::string& name)
{
    return CharsetFromName(name.data(), name.size());
}

}  // namespace

int PageTitleCharset(const PageBytes& page)
{
    size_t bomLength = 0;
    const int declared[] = {
        Named(ContentTypeCharset(page.contentType.data(), page.contentType.size())),
        CharsetFromBom(page.head.data(), page.head.size(), &bomLength),
        Named(MetaCharset(page.head.data(), page.head.size())),
    };
    // A declaration the bytes contradict is a mistake of the page's.
    for (int charset : declared) {
        if (charset != kCharsetUnknown && BytesFitCharset(charset, page.title, page.titleLength))
            return charset;
    }
    return DetectCharset(page.title, page.titleLength);
}
