#include "store/text_convert.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "app/ansi_text.h"

namespace {

bool IsAscii(const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

bool IsXmlControl(unsigned c)
{
    return c < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

// UTF-8 to UTF-16, into a stack buffer for the usual short values.
class WideText {
public:
    WideText(const char* utf8, size_t length)
    {
        int n = static_cast<int>(length);
        if (length > sizeof local_ / sizeof local_[0]) {
            int needed = MultiByteToWideChar(CP_UTF8, 0, utf8, n, nullptr, 0);
            if (needed <= 0)
                return;
            heap_.resize(static_cast<size_t>(needed));
            text_ = heap_.data();
            capacity_ = needed;
        }
        int written = MultiByteToWideChar(CP_UTF8, 0, utf8, n, text_, capacity_);
        length_ = written > 0 ? static_cast<size_t>(written) : 0;
    }
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;
    const wchar_t* Text() const { return text_; }
    size_t Length() const { return length_; }

private:
    // A byte of UTF-8 never gives more than one UTF-16 unit.
    wchar_t local_[1024];
    std::vector<wchar_t> heap_;
    wchar_t* text_ = local_;
    int capacity_ = static_cast<int>(sizeof local_ / sizeof local_[0]);
    size_t length_ = 0;
};

}  // namespace

std::string WideToAnsi(const wchar_t* text, size_t length)
{
    if (text == nullptr || length == 0)
        return std::string();
    int wlen = static_cast<int>(length);
    int n = WideCharToMultiByte(CP_ACP, 0, text, wlen, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string result(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wlen, &result[0], n, nullptr, nullptr);
    return result;
}

void WideToAnsiField(const wchar_t* text, size_t length, char* out, size_t width)
{
    if (width == 0)
        return;
    out[0] = '\0';
    if (text == nullptr || length == 0)
        return;
    int wlen = static_cast<int>(length);
    // A UTF-16 unit gives at most two bytes in a double-byte code page, so
    // short values convert straight into a stack buffer.
    char local[2048];
    std::vector<char> heap;
    char* buffer = local;
    int capacity = static_cast<int>(sizeof local);
    if (length * 2 > sizeof local) {
        capacity = WideCharToMultiByte(CP_ACP, 0, text, wlen, nullptr, 0, nullptr, nullptr);
        if (capacity <= 0)
            return;
        heap.resize(static_cast<size_t>(capacity));
        buffer = heap.data();
    }
    int n = WideCharToMultiByte(CP_ACP, 0, text, wlen, buffer, capacity, nullptr, nullptr);
    if (n <= 0)
        return;
    size_t cut = CutAnsiLength(buffer, static_cast<size_t>(n), width - 1);
    memcpy(out, buffer, cut);
    out[cut] = '\0';
}

void Utf8ToAnsiField(const char* utf8, size_t length, char* out, size_t width)
{
    if (utf8 == nullptr)
        length = 0;
    if (width > 0 && IsAscii(utf8, length)) {
        size_t cut = length < width - 1 ? length : width - 1;
        if (cut > 0)
            memcpy(out, utf8, cut);
        out[cut] = '\0';
        return;
    }
    WideText wide(utf8, length);
    WideToAnsiField(wide.Text(), wide.Length(), out, width);
}

std::string Utf8ToAnsi(const char* utf8, size_t length)
{
    if (utf8 == nullptr || length == 0)
        return std::string();
    if (IsAscii(utf8, length))
        return std::string(utf8, length);
    WideText wide(utf8, length);
    return WideToAnsi(wide.Text(), wide.Length());
}

std::wstring AnsiToWide(const char* text)
{
    if (text == nullptr || text[0] == '\0')
        return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 1)
        return std::wstring();
    std::wstring result(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &result[0], n);
    result.resize(static_cast<size_t>(n - 1));
    return result;
}

std::string AnsiToDocumentText(const char* text)
{
    if (text == nullptr)
        return std::string();
    size_t length = strlen(text);
    if (IsAscii(text, length)) {
        std::string result(text, length);
        for (char& c : result) {
            if (IsXmlControl(static_cast<unsigned char>(c)))
                c = '?';
        }
        return result;
    }
    std::wstring wide = AnsiToWide(text);
    for (wchar_t& c : wide) {
        if (IsXmlControl(c) || c == 0xFFFE || c == 0xFFFF)
            c = L'?';
    }
    int wlen = static_cast<int>(wide.size());
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wlen, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string result(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wlen, &result[0], n, nullptr, nullptr);
    return result;
}

std::string CutAnsi(const char* text, size_t width)
{
    if (text == nullptr || width == 0)
        return std::string();
    size_t length = strlen(text);
    return std::string(text, CutAnsiLength(text, length, width - 1));
}
