// libFuzzer target: the bookmark file reader on any bytes, then the merge
// plan and the writer on what it read. Checks the bounds of every value,
// the counts, the containers' limits, that a second import of the same file
// adds nothing, and that the written file reads back into the same store.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bookmarks/bookmark_export.h"
#include "bookmarks/bookmark_import.h"
#include "bookmarks/bookmark_merge.h"
#include "tests/native/iconv_platform.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        abort();
}

bool Fits(const char* field, size_t width)
{
    const size_t n = strnlen(field, width);
    return n > 0 && n < width;
}

void CheckImport(const BookmarkImport& import)
{
    size_t entries = 0;
    for (const ImportedNote& note : import.notes) {
        Check(!note.folder.empty() && note.folder.size() <= kNameBytes);
        Check(note.note.size() <= kNameBytes && (!note.note.empty() || note.entries.empty()));
        Check(note.folder.find('\0') == std::string::npos && note.note.find('\0') == std::string::npos);
        for (const ImportedEntry& e : note.entries) {
            Check(!e.title.empty() && e.title.size() <= kTitleBytes);
            Check(!e.address.empty() && e.address.size() <= kAddressBytes);
            Check(!e.comment.empty() && e.comment.size() <= kCommentBytes);
            Check(e.title.find('\0') == std::string::npos && e.address.find('\0') == std::string::npos);
            Check(Fits(e.date, sizeof e.date) && Fits(e.access, sizeof e.access));
        }
        entries += note.entries.size();
    }
    Check(entries == import.taken);
    Check(import.linksRead >= import.taken + import.tooLong + import.placeQueries + import.noAddress);
    Check(import.isBookmarkFile || import.notes.empty());
}

bool SameStore(const std::vector<FolderRecord>& a, const std::vector<FolderRecord>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t f = 0; f < a.size(); ++f) {
        if (strcmp(a[f].name, b[f].name) != 0 || a[f].notes.size() != b[f].notes.size())
            return false;
        for (size_t n = 0; n < a[f].notes.size(); ++n) {
            const NoteRecord& x = a[f].notes[n];
            const NoteRecord& y = b[f].notes[n];
            if (strcmp(x.name, y.name) != 0 || x.entries.size() != y.entries.size())
                return false;
            for (size_t e = 0; e < x.entries.size(); ++e) {
                const EntryRecord& p = x.entries[e];
                const EntryRecord& q = y.entries[e];
                if (strcmp(p.title, q.title) != 0 || strcmp(p.list, q.list) != 0 ||
                    strcmp(p.comment, q.comment) != 0 || strcmp(p.date, q.date) != 0 ||
                    strcmp(p.access, q.access) != 0)
                    return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const IconvBookmarkPlatform platform;
    const char* bytes = reinterpret_cast<const char*>(data);
    BookmarkImport import = ReadBookmarkFile(bytes, size, platform, "2024/01/02");
    CheckImport(import);

    const size_t taken = import.taken;
    const MergePlan plan = PlanMerge({}, import.notes);
    Check(plan.added + plan.duplicates + plan.noRoom == taken);
    std::vector<FolderRecord> store;
    Check(ApplyMergePlan(plan, store));
    // The same import again finds every link it added.
    const MergePlan twice = PlanMerge(store, std::move(import.notes));
    Check(twice.added == 0 && twice.duplicates + twice.noRoom == taken);

    const std::string file = WriteBookmarkFile(store, platform);
    BookmarkImport again = ReadBookmarkFile(file.data(), file.size(), platform, "2000/01/01");
    Check(again.isBookmarkFile && !again.truncated && again.taken == plan.added);
    std::vector<FolderRecord> back;
    Check(ApplyMergePlan(PlanMerge({}, std::move(again.notes)), back));
    Check(SameStore(store, back));
    return 0;
}
