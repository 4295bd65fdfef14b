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

RecordText& RecordText::operator=(const RecordText& other)
{
    if (this != &other)
        *this = other.text_;
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
        if (need > kBlockSize / 4) {
            large_.emplace_back(new char[need]);
            char* own = large_.back().get();
            own[length] = '\0';
            last_ = nullptr;
            return own;
        }
        if (current_ == blocks_.size())
            blocks_.emplace_back(new char[kBlockSize]);
        next_ = blocks_[current_++].get();
        left_ = kBlockSize;
    }
    char* out = next_;
    next_ += need;
    left_ -= need;
    out[length] = '\0';
    last_ = out;
    return out;
}

void TextArena::Shrink(char* last, size_t length) noexcept
{
    last[length] = '\0';
    // Only the newest text in a block can give its end back.
    if (last != last_)
        return;
    char* end = last + length + 1;
    left_ += static_cast<size_t>(next_ - end);
    next_ = end;
}

void TextArena::Reuse() noexcept
{
    large_.clear();
    current_ = 0;
    next_ = nullptr;
    left_ = 0;
    last_ = nullptr;
}

void TextArena::Clear() noexcept
{
    Reuse();
    blocks_.clear();
    blocks_.shrink_to_fit();
}
