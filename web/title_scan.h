#pragma once
#include <cstddef>
#include <string>

// Finds a page title in a body that arrives in chunks, exactly as the fetch
// delivers them. Only "<title" / "<TITLE" open and only "</title>" /
// "</TITLE>" close; every chunk is searched afresh, so the chunk boundaries
// shape the result (an opening tag cut in two yields its remainder, e.g.
// "le>Example"). Pure byte logic: no window or network code.
class TitleScan {
public:
    static constexpr size_t kMaxTitle = 519;            // bytes kept, plus a zero
    static constexpr size_t kBodyLimit = 1024 * 1024;   // a page that never closes its title

    explicit TitleScan(size_t bodyLimit = kBodyLimit);

    // One chunk as delivered; a zero byte ends its text early, but all
    // `delivered` bytes count towards the body limit. Returns true while
    // more chunks are wanted: false once a closing tag was seen or the body
    // limit has been reached. Chunks fed after that are ignored.
    bool Feed(const char* chunk, size_t delivered);

    // Trims trailing spaces, then trailing CR/LF. Call once, after the last
    // chunk (end of data, read failure or Feed returning false).
    void Finish();

    bool Found() const { return found_; }
    const char* Title() const { return title_; }
    size_t Length() const { return length_; }
    size_t BodyBytes() const { return bodyBytes_; }
    // The body's text before the opening tag (within the body limit), where
    // a page declares its charset.
    const std::string& Head() const { return head_; }

private:
    void Append(const char* from, const char* to);

    std::string head_;
    char title_[kMaxTitle + 1];
    size_t length_;
    size_t bodyBytes_;
    size_t bodyLimit_;
    bool found_;
    bool closed_;
};
