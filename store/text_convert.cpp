#include "store/text_convert.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "app/ansi_text.h"

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

std::wstring AnsiToDocumentText(const char* text)
{
    std::wstring result = AnsiToWide(text);
    for (wchar_t& c : result) {
        bool control = c < 0x20 && c != L'\t' && c != L'\n' && c != L'\r';
        if (control || c == 0xFFFE || c == 0xFFFF)
            c = L'?';
    }
    return result;
}

std::string CutAnsi(const char* text, size_t width)
{
    if (text == nullptr || width == 0)
        return std::string();
    size_t length = strlen(text);
    return std::string(text, CutAnsiLength(text, length, width - 1));
}
