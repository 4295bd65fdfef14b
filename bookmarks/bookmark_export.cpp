#include "bookmarks/bookmark_export.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "bookmarks/bookmark_platform.h"
#include "bookmarks/bookmark_text.h"

namespace {

const char kHead[] =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
    "<TITLE>Bookmarks</TITLE>\n"
    "<H1>Bookmarks</H1>\n"
    "<DL><p>\n";

class Writer {
public:
    explicit Writer(const BookmarkPlatform& platform) : platform_(platform) {}

    std::string Run(const std::vector<FolderRecord>& store);

private:
    void Text(const char* ansi, bool escapeBreaks);
    void DateAttribute(const char* name, const char* day);
    void Indent(int depth) { out_.append(static_cast<size_t>(depth) * 4, ' '); }
    void Heading(int depth, const char* name);
    void Entry(const EntryRecord& entry);

    const BookmarkPlatform& platform_;
    std::string out_;
    std::string utf8_;
};

// Program text as escaped UTF-8.
void Writer::Text(const char* ansi, bool escapeBreaks)
{
    const size_t length = strlen(ansi);
    bool ascii = true;
    for (size_t i = 0; i < length && ascii; ++i)
        ascii = static_cast<unsigned char>(ansi[i]) < 0x80;
    if (ascii) {
        AppendEscapedText(ansi, length, escapeBreaks, out_);
        return;
    }
    utf8_.clear();
    platform_.AnsiToUtf8(ansi, length, utf8_);
    AppendEscapedText(utf8_.data(), utf8_.size(), escapeBreaks, out_);
}

// A date the store holds as "%d/%02d/%02d"; left out when it is none ("-")
// or cannot be read.
void Writer::DateAttribute(const char* name, const char* day)
{
    int year = 0;
    int month = 0;
    int date = 0;
    int64_t seconds = 0;
    if (!ParseDay(day, year, month, date) || !platform_.DaySeconds(year, month, date, seconds))
        return;
    char buffer[64];
    snprintf(buffer, sizeof buffer, " %s=\"%" PRId64 "\"", name, seconds);
    out_ += buffer;
}

void Writer::Heading(int depth, const char* name)
{
    Indent(depth);
    out_ += "<DT><H3>";
    Text(name, true);
    out_ += "</H3>\n";
    Indent(depth);
    out_ += "<DL><p>\n";
}

void Writer::Entry(const EntryRecord& entry)
{
    Indent(3);
    out_ += "<DT><A HREF=\"";
    Text(entry.list, true);
    out_ += '"';
    DateAttribute("ADD_DATE", entry.date);
    DateAttribute("LAST_VISIT", entry.access);
    out_ += '>';
    Text(entry.title, true);
    out_ += "</A>\n";
    if (strcmp(entry.comment, "-") != 0 && entry.comment[0] != '\0') {
        Indent(3);
        out_ += "<DD>";
        Text(entry.comment, false);
        out_ += '\n';
    }
}

std::string Writer::Run(const std::vector<FolderRecord>& store)
{
    size_t entries = 0;
    for (const FolderRecord& folder : store) {
        for (const NoteRecord& note : folder.notes)
            entries += note.entries.size();
    }
    out_.reserve(sizeof kHead + entries * 160);
    out_ += kHead;
    for (const FolderRecord& folder : store) {
        Heading(1, folder.name);
        for (const NoteRecord& note : folder.notes) {
            Heading(2, note.name);
            for (const EntryRecord& entry : note.entries)
                Entry(entry);
            Indent(2);
            out_ += "</DL><p>\n";
        }
        Indent(1);
        out_ += "</DL><p>\n";
    }
    out_ += "</DL><p>\n";
    return std::move(out_);
}

}  // namespace

std::string WriteBookmarkFile(const std::vector<FolderRecord>& store, const BookmarkPlatform& platform)
{
    Writer writer(platform);
    return writer.Run(store);
}
