// libFuzzer target: the title scan over random chunk splits, checked against
// a plain std::string model of the same rules and against its bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "web/title_scan.h"

namespace {

struct Result {
    bool found = false;
    std::string title;
};

bool IsSkippedControl(unsigned char c)
{
    return (c >= 0x01 && c <= 0x1F && c != 0x1B) || c == 0x7F;
}

size_t FindClose(const std::string& text, size_t from)
{
    size_t close = text.find("</title>", from);
    return close != std::string::npos ? close : text.find("</TITLE>", from);
}

Result Model(const std::vector<std::string>& chunks, size_t limit)
{
    Result r;
    size_t body = 0;
    for (const std::string& chunk : chunks) {
        body += chunk.size();
        const std::string text = chunk.substr(0, chunk.find('\0'));
        size_t open = text.find("<title");
        if (open == std::string::npos)
            open = text.find("<TITLE");
        bool closed = false;
        if (open != std::string::npos) {
            size_t p = text.find('>', open);
            p = p == std::string::npos ? text.size() : p + 1;
            while (p < text.size() && IsSkippedControl(static_cast<unsigned char>(text[p])))
                ++p;
            while (p < text.size() && text[p] == ' ')
                ++p;
            const size_t close = FindClose(text, p);
            r.title += text.substr(p, (close == std::string::npos ? text.size() : close) - p);
            r.found = true;
            closed = close != std::string::npos;
        } else {
            const size_t close = FindClose(text, 0);
            if (close != std::string::npos) {
                r.title += text.substr(0, close);
                r.found = true;
                closed = true;
            }
        }
        if (closed || body >= limit)
            break;
    }
    if (r.title.size() > TitleScan::kMaxTitle)
        r.title.resize(TitleScan::kMaxTitle);
    while (!r.title.empty() && r.title.back() == ' ')
        r.title.pop_back();
    while (!r.title.empty() && (r.title.back() == '\r' || r.title.back() == '\n'))
        r.title.pop_back();
    return r;
}

void Check(bool condition)
{
    if (!condition)
        abort();
}

}  // namespace

// Input: one byte that picks the body limit, one byte that picks the largest
// chunk, four bytes of seed for the chunk sizes, then the body.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 6)
        return 0;
    const size_t limit = data[0] == 0 ? TitleScan::kBodyLimit : size_t(data[0]) * 8;
    const size_t maxChunk = 1 + data[1] * 4;   // 1 to 1021
    uint32_t seed = (uint32_t(data[2]) << 24) | (uint32_t(data[3]) << 16) |
                    (uint32_t(data[4]) << 8) | data[5];
    seed |= 1;
    const std::string body(reinterpret_cast<const char*>(data) + 6, size - 6);

    std::vector<std::string> chunks;
    for (size_t at = 0; at < body.size();) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        const size_t n = 1 + seed % maxChunk;
        chunks.push_back(body.substr(at, n));
        at += n;
    }

    TitleScan scan(limit);
    size_t fed = 0;
    for (const std::string& chunk : chunks) {
        // The fetch hands over a buffer with a zero after the delivered bytes.
        const std::string buffer = chunk + '\0';
        ++fed;
        if (!scan.Feed(buffer.data(), chunk.size()))
            break;
    }
    scan.Finish();

    Check(scan.Length() <= TitleScan::kMaxTitle);
    Check(scan.Title()[scan.Length()] == '\0');
    Check(std::string(scan.Title()).size() == scan.Length());
    Check(scan.Found() || scan.Length() == 0);
    if (scan.Length() > 0) {
        const char last = scan.Title()[scan.Length() - 1];
        Check(last != '\r' && last != '\n');
    }
    // Reading stops at the first chunk that reaches the limit.
    Check(fed == 0 || scan.BodyBytes() < limit + chunks[fed - 1].size());

    const Result model = Model(chunks, limit);
    Check(model.found == scan.Found());
    Check(model.title == std::string(scan.Title(), scan.Length()));
    return 0;
}
