#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "store/import_plan.h"
#include "store/records.h"

class BookmarkPlatform;

// Reads a browser's bookmark file (the interchange format every browser
// exports and imports):
//
//   <!DOCTYPE NETSCAPE-Bookmark-file-1>
//   <META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
//   <TITLE>Bookmarks</TITLE>
//   <H1>Bookmarks</H1>
//   <DL><p>
//       <DT><A HREF="https://example.com/" ADD_DATE="1700000000">Example</A>
//       <DD>a description, line breaks kept
//       <DT><H3 ADD_DATE="..." PERSONAL_TOOLBAR_FOLDER="true">Folder</H3>
//       <DL><p>
//           <HR>
//           <DT><H3>Deeper folder</H3>
//           <DL><p> ... </DL><p>
//       </DL><p>
//   </DL><p>
//
// into the store's two levels: a top-level folder becomes a folder, the
// links directly in it a note of the same name, a deeper folder a note of
// its top-level folder named by its path below it ("A / B"); links outside
// any folder go to a folder and note named after <H1> (or "インポート").
// Folders without links give nothing. Values are in the program's code page,
// cut to the store's widths. Folders and notes without links come as
// well, so that a file the program exported reads back as the store was;
// so do siblings of equal names, told apart by their place among them.

// The links for one (folder, note) pair of names, in file order.
struct ImportedNote {
    std::string folder;        // at most 259 bytes, never empty
    std::string note;          // at most 259 bytes; empty: the folder alone
    std::vector<ImportedEntry> entries;
    size_t folderRepeat = 0;   // earlier top-level folders of the same name
    size_t noteRepeat = 0;     // earlier notes of the same name in that folder
};

struct BookmarkImport {
    std::vector<ImportedNote> notes;   // in file order
    size_t linksRead = 0;              // every <A> of the file
    size_t taken = 0;                  // links in `notes`
    size_t tooLong = 0;                // address over 1023 bytes
    size_t placeQueries = 0;           // "place:" addresses (browser queries)
    size_t noAddress = 0;              // no or an empty HREF
    bool isBookmarkFile = false;       // the doctype, or <DL> with links or folders
    bool truncated = false;            // ends inside a tag, a link or an open list
    bool unknownCharset = false;       // declared set unknown: read as UTF-8
    std::string assumedCharset;        // set detected for a file that declares none
                                       // (or one its bytes contradict); else empty
    size_t lostCharacters = 0;         // titles and names that lost characters to code page 932
    bool cancelled = false;            // the progress callback said stop
};

// Called now and then while links are read (about every 256 links or every
// megabyte): links read so far, bytes read, bytes in all. Returning false
// stops the reading; the result then says `cancelled` and holds no notes.
using BookmarkProgress = std::function<bool(size_t linksRead, size_t done, size_t total)>;

// Reads `size` bytes of a bookmark file. `today` ("%d/%02d/%02d") is the
// date of links that carry none. A UTF-8 byte order mark, a UTF-16 one or
// a declared charset decides the file's character set; without them, or
// when the bytes contradict a declared Japanese set, it is detected as for
// page titles (UTF-8, Shift-JIS, EUC-JP or ISO-2022-JP).
// Never fails: what cannot be read is counted or flagged.
BookmarkImport ReadBookmarkFile(const char* data, size_t size, const BookmarkPlatform& platform,
                                const char* today, const BookmarkProgress& progress = nullptr);

// More links than one import takes: every link costs the import and each
// later load of the store some kilobytes, and a file of 1.5 million short
// links would need gigabytes. Real exports of 100,000 links still fit.
constexpr size_t kMaxImportLinks = 200000;

// The <A> tags of a bookmark file's bytes (UTF-16 with a byte order mark
// as well): an upper bound of its links, found without parsing it, so that
// a file of far too many is refused before any work.
size_t CountLinkTags(const char* data, size_t size);

// Store widths without the terminator.
constexpr size_t kNameBytes = kNameSize - 1;
constexpr size_t kTitleBytes = kTitleSize - 1;
constexpr size_t kAddressBytes = kAddressSize - 1;
constexpr size_t kCommentBytes = kCommentSize - 1;
