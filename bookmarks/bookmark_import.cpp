#include "bookmarks/bookmark_import.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "app/charset_detect.h"
#include "bookmarks/bookmark_platform.h"
#include "bookmarks/bookmark_text.h"
#include "store/name_compare.h"

namespace {

// "インポート" and "新規作成" in code page 932.
const char kImportName[] = "\x83\x43\x83\x93\x83\x7C\x81\x5B\x83\x67";
const char kUnnamed[] = "\x90\x56\x8B\x4B\x8D\xEC\x90\xAC";
const char kPathJoin[] = " / ";

// Deeper lists add nothing but length to a note name that is cut anyway;
// the bound keeps a file of endless <DL> from eating memory.
constexpr size_t kMaxDepth = 100;
// How far into the file a declared charset is looked for.
constexpr size_t kHeadBytes = 64 * 1024;
constexpr int64_t kLastSecond = 253402300799LL;   // 9999-12-31 23:59:59
constexpr size_t kProgressLinks = 256;
constexpr size_t kProgressBytes = 1024 * 1024;

enum class Tag { Other, A, DL, DT, DD, H1, H3, HR };
enum class Capture { None, Link, Folder, Heading, Description };
enum class LevelKind { Root, Top, Deep };

struct Span {
    const char* text = nullptr;
    size_t length = 0;
};

struct TagToken {
    Tag tag = Tag::Other;
    bool closing = false;
    Span href, addDate, lastVisit;
};

struct Level {
    LevelKind kind = LevelKind::Root;
    std::string folder;
    std::string note;
    size_t folderRepeat = 0;
    size_t noteRepeat = 0;
    size_t names = 0;  // the scope that counts the names of its notes
    long group = -1;   // index in the result's notes, once a link arrived
};

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case-insensitive: does text[0..length) begin with the lower-case `word`?
bool StartsWith(const char* text, size_t length, const char* word)
{
    const size_t n = strlen(word);
    if (length < n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        if (Lower(text[i]) != word[i])
            return false;
    }
    return true;
}

bool SameWord(const char* text, size_t length, const char* word)
{
    return length == strlen(word) && StartsWith(text, length, word);
}

// Case-insensitive search for the lower-case `word` in [from, end).
const char* Find(const char* from, const char* end, const char* word)
{
    const size_t n = strlen(word);
    for (const char* p = from; p + n <= end; ++p) {
        if (Lower(*p) == word[0] && StartsWith(p, static_cast<size_t>(end - p), word))
            return p;
    }
    return nullptr;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsNameChar(char c)
{
    return IsLetter(c) || (c >= '0' && c <= '9');
}

// Where the tag that starts before `from` ends: its ">", or a "<" that
// shows it was never closed, or `end`.
const char* TagEnd(const char* from, const char* end)
{
    while (from < end && *from != '>' && *from != '<')
        ++from;
    return from;
}

// A value cut to its field may end in the space between two words; it
// would not read back the same.
void DropEndSpace(std::string& text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
}

bool IsAscii(const std::string& text)
{
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

Tag TagOf(const char* name, size_t length)
{
    static const struct {
        const char* name;
        Tag tag;
    } kTags[] = {{"a", Tag::A},   {"dl", Tag::DL}, {"dt", Tag::DT}, {"dd", Tag::DD},
                 {"h1", Tag::H1}, {"h3", Tag::H3}, {"hr", Tag::HR}};
    for (const auto& t : kTags) {
        if (SameWord(name, length, t.name))
            return t.tag;
    }
    return Tag::Other;
}

// ADD_DATE and LAST_VISIT: seconds since 1970. A few tools write
// milliseconds, microseconds or nanoseconds: a value beyond the last second
// of the year 9999 is scaled down. Zero means none.
bool ReadSeconds(Span value, int64_t& seconds)
{
    std::string text;
    AppendDecodedText(value.text, value.length, false, text);
    if (text.empty() || text.size() > 30)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    // Eighteen digits always fit; every three dropped are one scaling step.
    size_t digits = text.size();
    while (digits > 18)
        digits -= 3;
    int64_t v = 0;
    for (size_t i = 0; i < digits; ++i)
        v = v * 10 + (text[i] - '0');
    while (v > kLastSecond)
        v /= 1000;
    seconds = v;
    return v > 0;
}

class Reader {
public:
    Reader(const BookmarkPlatform& platform, const char* today, const BookmarkProgress& progress)
        : platform_(platform), today_(today != nullptr ? today : ""), progress_(progress)
    {
    }

    BookmarkImport Run(const char* data, size_t size);

private:
    const char* Decode(const char* data, size_t size, size_t& length);
    void Parse(const char* data, size_t size);
    size_t ReadTag(const char* data, size_t size, size_t at, TagToken& token, bool& complete);
    void OnTag(const TagToken& token);
    void EndCapture();
    void PushLevel();
    void PopLevel();
    void TakeLink();
    std::string Ansi(const std::string& utf8, size_t width, bool* lost = nullptr) const;
    std::string Address(const std::string& utf8) const;
    std::string Name(Span text, const char* fallback);
    ImportedNote& GroupOf(Level& level);
    size_t GroupIndex(const std::string& folder, size_t folderRepeat, const std::string& note, size_t noteRepeat);
    void DropEmptyContainers();
    void Day(Span value, const char* fallback, char (&out)[11]) const;

    const BookmarkPlatform& platform_;
    const char* today_;
    const BookmarkProgress& progress_;
    BookmarkImport result_;

    std::vector<Level> levels_;
    Level outside_;             // links before any list opened
    size_t overflowDepth_ = 0;
    std::unordered_map<std::string, size_t> groups_;
    Capture capture_ = Capture::None;
    std::string captured_;
    TagToken link_;             // the <A> whose text is being read
    std::string pendingFolder_; // an <H3> name waiting for its <DL>
    bool hasPending_ = false;
    std::string heading_;       // the first <H1>, raw
    bool hasHeading_ = false;
    long lastGroup_ = -1;       // the link a <DD> describes
    bool sawList_ = false;
    bool sawDoctype_ = false;
    size_t folders_ = 0;
    size_t nextProgressLinks_ = kProgressLinks;
    size_t nextProgressBytes_ = kProgressBytes;
    std::string converted_;
    // Per top-level folder (and the root): how often each name of a child
    // came so far, so that siblings of one name stay apart.
    std::vector<std::unordered_map<std::string, size_t>> names_ = std::vector<std::unordered_map<std::string, size_t>>(1);
    std::vector<bool> containers_;   // per note of the result: has deeper folders
};

// The charset names the system converters know, for a Japanese set.
const char* ConverterName(int charset)
{
    return charset == kCharsetEucJp ? "EUC-JP" : "CP932";
}

const char* ShownName(int charset)
{
    switch (charset) {
    case kCharsetShiftJis:
        return "Shift_JIS";
    case kCharsetJis:
        return "ISO-2022-JP";
    case kCharsetEucJp:
        return "EUC-JP";
    default:
        return "UTF-8";
    }
}

// The file's bytes as UTF-8: a byte order mark decides, then a charset
// declared in a <META> near the top; UTF-8 when neither says otherwise.
const char* Reader::Decode(const char* data, size_t size, size_t& length)
{
    length = size;
    const unsigned char* u = reinterpret_cast<const unsigned char*>(data);
    std::string charset;
    size_t skip = 0;
    if (size >= 3 && u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF) {
        length = size - 3;
        return data + 3;
    }
    if (size >= 2 && u[0] == 0xFF && u[1] == 0xFE) {
        charset = "UTF-16LE";
        skip = 2;
    } else if (size >= 2 && u[0] == 0xFE && u[1] == 0xFF) {
        charset = "UTF-16BE";
        skip = 2;
    } else {
        const char* end = data + (size < kHeadBytes ? size : kHeadBytes);
        for (const char* meta = Find(data, end, "<meta"); meta != nullptr && charset.empty();
             meta = Find(meta + 1, end, "<meta")) {
            const char* tagEnd = TagEnd(meta + 1, end);
            const char* at = Find(meta, tagEnd, "charset=");
            if (at == nullptr)
                continue;
            at += strlen("charset=");
            while (at < tagEnd && (*at == '"' || *at == '\'' || IsSpace(*at)))
                ++at;
            while (at < tagEnd && (IsNameChar(*at) || strchr("-_.:", *at) != nullptr))
                charset += *at++;
        }
    }
    int japanese = CharsetFromName(charset.data(), charset.size());
    if (skip == 0 && (charset.empty() || (japanese != kCharsetUnknown && !BytesFitCharset(japanese, data, size)))) {
        // Older browsers wrote the system code page and said nothing. When
        // no set fits the bytes, a declared set stands, and UTF-8 otherwise.
        const int detected = DetectCharset(data, size);
        if (BytesFitCharset(detected, data, size))
            japanese = detected;
        else if (charset.empty())
            japanese = kCharsetUtf8;
        result_.assumedCharset = ShownName(japanese);
    }
    if (japanese == kCharsetUtf8)
        return data;
    if (SameWord(charset.data(), charset.size(), "x-mac-roman"))
        charset = "macintosh";
    std::string jis;
    if (japanese == kCharsetJis) {
        // The kernel lacks ISO-2022-JP under Wine: Shift-JIS by arithmetic.
        jis = JisToShiftJis(data, size);
        data = jis.data();
        size = jis.size();
    }
    if (japanese != kCharsetUnknown)
        charset = ConverterName(japanese);
    if (!platform_.CharsetToUtf8(charset.c_str(), data + skip, size - skip, converted_)) {
        result_.unknownCharset = true;
        return data;
    }
    length = converted_.size();
    return converted_.data();
}

BookmarkImport Reader::Run(const char* data, size_t size)
{
    size_t length = 0;
    const char* text = Decode(data, size, length);
    Parse(text, length);
    converted_.clear();
    if (result_.cancelled || !result_.isBookmarkFile) {
        const bool cancelled = result_.cancelled;
        const bool isBookmarkFile = result_.isBookmarkFile;
        const bool unknownCharset = result_.unknownCharset;
        result_ = BookmarkImport();
        result_.cancelled = cancelled;
        result_.isBookmarkFile = isBookmarkFile;
        result_.unknownCharset = unknownCharset;
    } else {
        DropEmptyContainers();
    }
    return std::move(result_);
}

void Reader::Parse(const char* data, size_t size)
{
    size_t at = 0;
    while (at < size) {
        const void* found = memchr(data + at, '<', size - at);
        const size_t lt = found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - data) : size;
        if (capture_ != Capture::None)
            captured_.append(data + at, lt - at);
        if (lt >= size)
            break;
        at = lt;
        const char next = lt + 1 < size ? data[lt + 1] : '\0';
        if (next == '!') {
            // A comment runs to "-->", a declaration to ">".
            const bool comment = size - lt >= 4 && memcmp(data + lt, "<!--", 4) == 0;
            const char* end = comment ? Find(data + lt + 4, data + size, "-->")
                                      : static_cast<const char*>(memchr(data + lt, '>', size - lt));
            if (end == nullptr) {
                result_.truncated = true;
                break;
            }
            if (!comment && Find(data + lt, end, "netscape-bookmark-file") != nullptr)
                sawDoctype_ = true;
            at = static_cast<size_t>(end - data) + (comment ? 3 : 1);
            continue;
        }
        const bool closing = next == '/';
        if (!IsLetter(closing ? (lt + 2 < size ? data[lt + 2] : '\0') : next)) {
            // A "<" that opens no tag is text ("a <3 b", "x < y").
            if (capture_ != Capture::None)
                captured_ += '<';
            ++at;
            continue;
        }
        TagToken token;
        bool complete = false;
        at = ReadTag(data, size, lt, token, complete);
        if (!complete) {
            result_.truncated = true;
            break;
        }
        OnTag(token);
        if (result_.cancelled)
            return;
        if (progress_ && (result_.linksRead >= nextProgressLinks_ || at >= nextProgressBytes_)) {
            nextProgressLinks_ = result_.linksRead + kProgressLinks;
            nextProgressBytes_ = at + kProgressBytes;
            if (!progress_(result_.linksRead, at, size)) {
                result_.cancelled = true;
                return;
            }
        }
    }
    if (capture_ == Capture::Link)
        result_.truncated = true;
    EndCapture();
    if (!levels_.empty())
        result_.truncated = true;
    result_.isBookmarkFile = sawDoctype_ || (sawList_ && (result_.linksRead > 0 || folders_ > 0));
    if (progress_ && !progress_(result_.linksRead, size, size))
        result_.cancelled = true;
}

// Reads the tag at data[at] == '<' with its attributes; returns the position
// after its ">". `complete` is false when the file ends inside it.
size_t Reader::ReadTag(const char* data, size_t size, size_t at, TagToken& token, bool& complete)
{
    size_t i = at + 1;
    token.closing = data[i] == '/';
    if (token.closing)
        ++i;
    const size_t nameStart = i;
    while (i < size && IsNameChar(data[i]))
        ++i;
    token.tag = TagOf(data + nameStart, i - nameStart);
    while (i < size) {
        while (i < size && (IsSpace(data[i]) || data[i] == '/'))
            ++i;
        if (i >= size)
            break;
        if (data[i] == '>') {
            complete = true;
            return i + 1;
        }
        const size_t attrStart = i++;
        while (i < size && !IsSpace(data[i]) && data[i] != '=' && data[i] != '>')
            ++i;
        const size_t attrLength = i - attrStart;
        while (i < size && IsSpace(data[i]))
            ++i;
        Span value;
        if (i < size && data[i] == '=') {
            ++i;
            while (i < size && IsSpace(data[i]))
                ++i;
            if (i < size && (data[i] == '"' || data[i] == '\'')) {
                const void* quote = memchr(data + i + 1, data[i], size - i - 1);
                if (quote == nullptr)
                    break;
                const size_t end = static_cast<size_t>(static_cast<const char*>(quote) - data);
                value = {data + i + 1, end - i - 1};
                i = end + 1;
            } else {
                const size_t start = i;
                while (i < size && !IsSpace(data[i]) && data[i] != '>')
                    ++i;
                value = {data + start, i - start};
            }
        }
        if (token.tag != Tag::A)
            continue;
        const char* attr = data + attrStart;
        if (SameWord(attr, attrLength, "href"))
            token.href = value;
        else if (SameWord(attr, attrLength, "add_date"))
            token.addDate = value;
        else if (SameWord(attr, attrLength, "last_visit"))
            token.lastVisit = value;
    }
    complete = false;
    return size;
}

void Reader::OnTag(const TagToken& token)
{
    if (token.tag == Tag::Other)
        return;   // inline markup inside a title or description
    if (token.closing) {
        const bool ends = (token.tag == Tag::A && capture_ == Capture::Link) ||
                          (token.tag == Tag::H3 && capture_ == Capture::Folder) ||
                          (token.tag == Tag::H1 && capture_ == Capture::Heading);
        if (ends)
            EndCapture();
        if (token.tag == Tag::DL) {
            EndCapture();
            PopLevel();
        }
        return;
    }
    EndCapture();
    switch (token.tag) {
    case Tag::A:
        ++result_.linksRead;
        link_ = token;
        capture_ = Capture::Link;
        hasPending_ = false;
        break;
    case Tag::DL:
        sawList_ = true;
        PushLevel();
        break;
    case Tag::H3:
        ++folders_;
        capture_ = Capture::Folder;
        break;
    case Tag::H1:
        if (!hasHeading_)
            capture_ = Capture::Heading;
        break;
    case Tag::DD:
        // Describes the link just read; after a folder it describes the
        // folder, which the store has no place for.
        if (lastGroup_ >= 0)
            capture_ = Capture::Description;
        break;
    default:   // DT, HR
        hasPending_ = false;
        break;
    }
    if (token.tag != Tag::DD)
        lastGroup_ = -1;
}

void Reader::EndCapture()
{
    const Capture capture = capture_;
    capture_ = Capture::None;
    switch (capture) {
    case Capture::Link:
        TakeLink();
        break;
    case Capture::Folder:
        pendingFolder_ = Name({captured_.data(), captured_.size()}, kUnnamed);
        hasPending_ = true;
        break;
    case Capture::Heading:
        heading_ = captured_;
        hasHeading_ = true;
        break;
    case Capture::Description: {
        std::string text;
        AppendDecodedText(captured_.data(), captured_.size(), true, text);
        std::string comment = Ansi(text, kCommentBytes);
        std::vector<ImportedEntry>& entries = result_.notes[static_cast<size_t>(lastGroup_)].entries;
        entries.back().comment = comment.empty() ? "-" : comment;
        lastGroup_ = -1;
        break;
    }
    case Capture::None:
        break;
    }
    captured_.clear();
}

void Reader::PushLevel()
{
    const bool named = hasPending_;
    hasPending_ = false;
    if (levels_.size() >= kMaxDepth) {
        ++overflowDepth_;
        return;
    }
    Level level;
    if (!levels_.empty() && !named) {
        level = levels_.back();   // a list without a heading continues its parent
    } else if (named) {
        Level* parent = levels_.empty() ? nullptr : &levels_.back();
        if (parent == nullptr || parent->kind == LevelKind::Root) {
            level.kind = LevelKind::Top;
            level.folder = pendingFolder_;
            level.note = pendingFolder_;
            level.folderRepeat = names_[0][level.folder]++;
            level.names = names_.size();
            names_.emplace_back();
            // The folder itself, in its place, even when it holds no link.
            GroupIndex(level.folder, level.folderRepeat, std::string(), 0);
        } else {
            level.kind = LevelKind::Deep;
            level.folder = parent->folder;
            level.folderRepeat = parent->folderRepeat;
            level.names = parent->names;
            level.note = parent->kind == LevelKind::Top ? pendingFolder_
                                                        : parent->note + kPathJoin + pendingFolder_;
            if (level.note.size() > kNameBytes) {
                level.note.resize(CutLength(level.note.data(), level.note.size(), kNameBytes));
                DropEndSpace(level.note);
            }
            level.noteRepeat = names_[level.names][level.note]++;
            if (parent->kind == LevelKind::Deep && parent->group >= 0)
                containers_[static_cast<size_t>(parent->group)] = true;
        }
        level.group = -1;
    }
    levels_.push_back(std::move(level));
    // A note in its place, even when it holds no link.
    if (named && levels_.back().kind == LevelKind::Deep)
        GroupOf(levels_.back());
}

void Reader::PopLevel()
{
    hasPending_ = false;
    if (overflowDepth_ > 0)
        --overflowDepth_;
    else if (!levels_.empty())
        levels_.pop_back();
}

ImportedNote& Reader::GroupOf(Level& level)
{
    if (level.group < 0) {
        if (level.kind == LevelKind::Root) {
            level.folder = Name({heading_.data(), heading_.size()}, kImportName);
            level.note = level.folder;
        }
        level.group = static_cast<long>(GroupIndex(level.folder, level.folderRepeat, level.note, level.noteRepeat));
    }
    return result_.notes[static_cast<size_t>(level.group)];
}

size_t Reader::GroupIndex(const std::string& folder, size_t folderRepeat, const std::string& note,
                          size_t noteRepeat)
{
    char repeats[48];
    snprintf(repeats, sizeof repeats, "%zu/%zu", folderRepeat, noteRepeat);
    std::string key = folder;
    key += '\0';
    key += note;
    key += '\0';
    key += repeats;
    auto it = groups_.find(key);
    if (it == groups_.end()) {
        it = groups_.emplace(std::move(key), result_.notes.size()).first;
        ImportedNote group;
        group.folder = folder;
        group.note = note;
        group.folderRepeat = folderRepeat;
        group.noteRepeat = noteRepeat;
        result_.notes.push_back(std::move(group));
        containers_.push_back(false);
    }
    return it->second;
}

// A note made for a folder that only held deeper folders would be one the
// file does not have.
void Reader::DropEmptyContainers()
{
    std::vector<ImportedNote> kept;
    kept.reserve(result_.notes.size());
    bool dropped = false;
    for (size_t i = 0; i < result_.notes.size(); ++i) {
        if (!containers_[i] || !result_.notes[i].entries.empty())
            kept.push_back(std::move(result_.notes[i]));
        else
            dropped = true;
    }
    result_.notes.swap(kept);
    if (!dropped)
        return;
    // The store never sees a dropped note: its namesakes count without it.
    std::unordered_map<std::string, size_t> seen;
    for (ImportedNote& group : result_.notes) {
        char repeat[24];
        snprintf(repeat, sizeof repeat, "%zu", group.folderRepeat);
        group.noteRepeat = seen[group.folder + '\0' + repeat + '\0' + group.note]++;
    }
}

void Reader::TakeLink()
{
    std::string href;
    AppendDecodedText(link_.href.text, link_.href.length, false, href);
    if (href.empty()) {
        ++result_.noAddress;
        return;
    }
    if (StartsWith(href.data(), href.size(), "place:")) {
        ++result_.placeQueries;
        return;
    }
    ImportedEntry entry;
    entry.address = Address(href);
    if (entry.address.size() > kAddressBytes) {
        ++result_.tooLong;
        return;
    }
    std::string title;
    AppendDecodedText(captured_.data(), captured_.size(), false, title);
    bool lost = false;
    entry.title = Ansi(title, kTitleBytes, &lost);
    result_.lostCharacters += lost ? 1 : 0;
    if (entry.title.empty())
        entry.title.assign(entry.address, 0, CutLength(entry.address.data(), entry.address.size(), kTitleBytes));
    entry.comment = "-";
    Day(link_.addDate, today_, entry.date);
    Day(link_.lastVisit, entry.date, entry.access);

    Level& level = levels_.empty() ? outside_ : levels_.back();
    GroupOf(level).entries.push_back(std::move(entry));
    lastGroup_ = level.group;
    ++result_.taken;
}

// UTF-8 to the code page, cut on a character boundary to `width` bytes.
std::string Reader::Ansi(const std::string& utf8, size_t width, bool* lost) const
{
    std::string out;
    bool kept = true;
    if (IsAscii(utf8))
        out = utf8;
    else
        kept = platform_.Utf8ToAnsi(utf8.data(), utf8.size(), out);
    if (lost != nullptr)
        *lost = !kept;
    if (out.size() > width) {
        out.resize(CutLength(out.data(), out.size(), width));
        DropEndSpace(out);
    }
    return out;
}

// An address keeps its characters when the code page holds them all;
// otherwise its non-ASCII bytes are written as %XX of UTF-8, which leads to
// the same page, where the default character would not.
std::string Reader::Address(const std::string& utf8) const
{
    if (IsAscii(utf8))
        return utf8;
    std::string ansi;
    platform_.Utf8ToAnsi(utf8.data(), utf8.size(), ansi);
    std::string back;
    platform_.AnsiToUtf8(ansi.data(), ansi.size(), back);
    if (back == utf8)
        return ansi;
    static const char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (unsigned char c : utf8) {
        if (c < 0x80) {
            escaped += static_cast<char>(c);
        } else {
            escaped += '%';
            escaped += kHex[c >> 4];
            escaped += kHex[c & 15];
        }
    }
    return escaped;
}

std::string Reader::Name(Span text, const char* fallback)
{
    std::string utf8;
    AppendDecodedText(text.text, text.length, false, utf8);
    bool lost = false;
    std::string name = Ansi(utf8, kNameBytes, &lost);
    result_.lostCharacters += lost ? 1 : 0;
    return name.empty() ? std::string(fallback) : name;
}

void Reader::Day(Span value, const char* fallback, char (&out)[11]) const
{
    int64_t seconds = 0;
    int year = 0;
    int month = 0;
    int day = 0;
    if (ReadSeconds(value, seconds) && platform_.LocalDay(seconds, year, month, day) &&
        FormatDay(year, month, day, out))
        return;
    snprintf(out, sizeof out, "%s", fallback);
}

}  // namespace

BookmarkImport ReadBookmarkFile(const char* data, size_t size, const BookmarkPlatform& platform,
                                const char* today, const BookmarkProgress& progress)
{
    Reader reader(platform, today, progress);
    return reader.Run(data != nullptr ? data : "", data != nullptr ? size : 0);
}

size_t CountLinkTags(const char* data, size_t size)
{
    const unsigned char* u = reinterpret_cast<const unsigned char*>(data);
    const bool utf16 = size >= 2 && ((u[0] == 0xFF && u[1] == 0xFE) || (u[0] == 0xFE && u[1] == 0xFF));
    const size_t step = utf16 ? 2 : 1;
    const size_t low = utf16 && u[0] == 0xFE ? 1 : 0;   // the byte of a unit that holds ASCII
    // The ASCII character of the unit at byte i, else '\0'.
    auto unit = [&](size_t i) -> char {
        if (i + step > size || (utf16 && u[i + 1 - low] != 0))
            return '\0';
        return data[i + low];
    };
    size_t count = 0;
    for (size_t i = utf16 ? 2 : 0; i + step <= size; i += step) {
        // "<abbr>" and the like are no links.
        if (data[i + low] == '<' && unit(i) == '<' && Lower(unit(i + step)) == 'a' &&
            !IsNameChar(unit(i + 2 * step)))
            ++count;
    }
    return count;
}
