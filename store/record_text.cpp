#include "store/record_text.h"

#include <cstring>

void RecordText::Assign(const char* text, size_t length)
{
    if (length == 0) {
        text_ = "";
        owned_ = false;
        return;
    }
    char* copy = new char[length + 1];
    memcpy(copy, text, length);
    copy[length] = '\0';
    text_ = copy;
    owned_ = true;
}

void RecordText::Release() noexcept
{
    if (owned_)
        delete[] text_;
    text_ = "";
    owned_ = false;
}

RecordText& RecordText::operator=(const RecordText& other)
{
    if (this != &other)
        *this = other.text_;
    return *this;
}

RecordText& RecordText::operator=(RecordText&& other) noexcept
{
    if (this != &other) {
        Release();
        text_ = other.text_;
        owned_ = other.owned_;
        other.text_ = "";
        other.owned_ = false;
    }
    return *this;
}

RecordText& RecordText::operator=(const char* text)
{
    // Assigned first, released after: text may be this value's own.
    RecordText fresh(text);
    return *this = std::move(fresh);
}

RecordText& RecordText::operator=(const std::string& text)
{
    RecordText fresh(text);
    return *this = std::move(fresh);
}

char* TextArena::Allocate(size_t length)
{
    size_t need = length + 1;
    if (need > left_) {
        // A text longer than a block gets a block of its own, and the
        // current block stays open for the next ones.
        if (need > kBlockSize / 4) {
            blocks_.emplace_back(new char[need]);
            char* own = blocks_.back().get();
            own[length] = '\0';
            return own;
        }
        blocks_.emplace_back(new char[kBlockSize]);
        next_ = blocks_.back().get();
        left_ = kBlockSize;
    }
    char* out = next_;
    next_ += need;
    left_ -= need;
    out[length] = '\0';
    return out;
}

void TextArena::Clear() noexcept
{
    blocks_.clear();
    blocks_.shrink_to_fit();
    next_ = nullptr;
    left_ = 0;
}
