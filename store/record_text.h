#pragma once
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// A record's text: zero-terminated, code page 932. Text the snapshot loads
// points into the snapshot's arena and costs one pointer; every other value
// (an assignment, a copy) holds a heap copy of its own, so a record copied
// out of the snapshot stays valid after the snapshot is reloaded.
class RecordText {
public:
    RecordText() noexcept = default;
    RecordText(const char* text) { Assign(text, text != nullptr ? strlen(text) : 0); }
    RecordText(const std::string& text) { Assign(text.data(), text.size()); }
    RecordText(const RecordText& other) { Assign(other.text_, strlen(other.text_)); }
    RecordText(RecordText&& other) noexcept : text_(other.text_), owned_(other.owned_)
    {
        other.text_ = "";
        other.owned_ = false;
    }
    RecordText& operator=(const RecordText& other);
    RecordText& operator=(RecordText&& other) noexcept
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
    RecordText& operator=(const char* text);
    RecordText& operator=(const std::string& text);
    ~RecordText() { Release(); }

    // Text that lives as long as its arena; the caller keeps them together.
    static RecordText InArena(const char* text) noexcept
    {
        RecordText borrowed;
        borrowed.text_ = text;
        return borrowed;
    }

    const char* c_str() const noexcept { return text_; }
    operator const char*() const noexcept { return text_; }
    bool empty() const noexcept { return text_[0] == '\0'; }

private:
    void Assign(const char* text, size_t length);
    void Release() noexcept
    {
        if (owned_)
            delete[] text_;
        text_ = "";
        owned_ = false;
    }

    const char* text_ = "";
    bool owned_ = false;
};

// Compared and joined by content, like the strings they are read as.
inline bool operator==(const RecordText& a, const char* b) { return strcmp(a.c_str(), b) == 0; }
inline bool operator==(const RecordText& a, const std::string& b) { return b == a.c_str(); }
inline bool operator==(const RecordText& a, const RecordText& b) { return strcmp(a.c_str(), b.c_str()) == 0; }
inline bool operator!=(const RecordText& a, const char* b) { return !(a == b); }
inline bool operator!=(const RecordText& a, const std::string& b) { return !(a == b); }
inline bool operator!=(const RecordText& a, const RecordText& b) { return !(a == b); }
inline std::string operator+(const std::string& a, const RecordText& b) { return a + b.c_str(); }

// The snapshot's text, in large blocks that never move: a loaded record
// costs no allocation of its own, and clearing the snapshot frees it all.
class TextArena {
public:
    TextArena() = default;
    TextArena(const TextArena&) = delete;
    TextArena& operator=(const TextArena&) = delete;

    // Room for length bytes and a terminator, terminated already.
    char* Allocate(size_t length);
    // Gives back the end of the last allocation, which now holds only
    // length bytes and its terminator.
    void Shrink(char* last, size_t length) noexcept;
    // Forgets every text but keeps the blocks for the next load: a reload
    // then writes into memory it already has instead of fresh pages.
    void Reuse() noexcept;
    void Clear() noexcept;

private:
    static const size_t kBlockSize = 1 << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    // Texts too long for a block, each alone.
    std::vector<std::unique_ptr<char[]>> large_;
    size_t current_ = 0;   // blocks_[current_ - 1] is being filled
    char* next_ = nullptr;
    size_t left_ = 0;
    char* last_ = nullptr;   // the newest text in a block, which Shrink may cut
};
