// Reading the store file into the snapshot: one walk over child nodes, each
// value found by element name among its parent's children and cut to its
// width; the long values go to the snapshot's arena.
#include <cstring>

#include <pugixml.hpp>

#include "store/ansi_table.h"
#include "store/dom_nodes.h"
#include "store/entry_key.h"
#include "store/store_failure.h"
#include "store/text_convert.h"
#include "store/xml_store.h"

namespace {

// Hands the element's text to use. The document keeps an element's first
// text as the element's value (kSnapshotParseOptions); the common case, that
// text alone, is read straight from it.
template <typename Use>
void WithText(Node element, Use use)
{
    const char* embedded = element.value();
    if (!element.first_child()) {
        use(embedded, strlen(embedded));
        return;
    }
    std::string text = embedded + TextOf(element);
    use(text.data(), text.size());
}

// A container's text of its own stands where the file has a child that is
// not an element of the store: read as such, it fails as one.
void NeedNoText(Node container, const char* what)
{
    STORE_NEED(container.value()[0] == '\0', what);
}

// Where loaded text goes, and the table that converts it.
struct Target {
    TextArena* arena;
    const AnsiTable* table;
};

// Converts into out (width bytes) and returns the length written.
size_t Convert(const Target& to, const char* text, size_t length, char* out, size_t width)
{
    size_t written = 0;
    if (to.table->Convert(text, length, out, width, &written))
        return written;
    Utf8ToAnsiField(text, length, out, width);
    return strlen(out);
}

void ReadField(Node element, char* out, size_t width, const Target& to)
{
    WithText(element, [&](const char* text, size_t length) { Convert(to, text, length, out, width); });
}

// The element's text in the arena, cut to width bytes with its terminator.
void ReadText(Node element, RecordText* out, size_t width, const Target& to)
{
    TextArena* arena = to.arena;
    WithText(element, [&](const char* text, size_t length) {
        if (length == 0) {
            *out = RecordText();
            return;
        }
        // Never longer than the UTF-8 it comes from: converted in place.
        size_t room = length < width - 1 ? length : width - 1;
        char* stored = arena->Allocate(room);
        arena->Shrink(stored, Convert(to, text, length, stored, room + 1));
        *out = RecordText::InArena(stored);
    });
}

struct Slot {
    const char* name;
    char* field;          // a fixed-width field, or
    RecordText* text;     // a text kept in the arena
    size_t width;
};

// Fills the fields named in slots from the first child element of each
// name; a name with no element raises E_POINTER. The values usually come in
// the slots' order, so the next slot is tried first.
void ReadValues(Node parent, Slot* slots, size_t count, const char* what, const Target& to)
{
    unsigned found = 0;
    const unsigned all = (1u << count) - 1;
    size_t next = 0;
    for (Node child = parent.first_child(); child && found != all; child = child.next_sibling()) {
        // Other nodes have no name, or rarely one (a processing
        // instruction): the type is asked only of a name that matches.
        const char* name = child.name();
        for (size_t k = 0; k < count; ++k) {
            size_t i = (next + k) % count;
            if ((found & (1u << i)) == 0 && strcmp(name, slots[i].name) == 0) {
                if (child.type() != pugi::node_element)
                    break;
                if (slots[i].text != nullptr)
                    ReadText(child, slots[i].text, slots[i].width, to);
                else
                    ReadField(child, slots[i].field, slots[i].width, to);
                found |= 1u << i;
                next = i + 1;
                break;
            }
        }
    }
    STORE_NEED(found == all, what);
}

// Reads id and name of a folder or note and returns its first array.
Node ReadContainer(Node node, char (&id)[4], RecordText* name, const char* what, const Target& to)
{
    Slot slots[] = {{"id", id, nullptr, sizeof id}, {"name", nullptr, name, kNameSize}};
    ReadValues(node, slots, 2, what, to);
    Node array = ChildNamed(node, "array");
    STORE_NEED(array, what);
    return array;
}

void ReadEntry(Node node, EntryRecord* entry, const Target& to)
{
    Slot slots[] = {
        {"id", entry->id, nullptr, sizeof entry->id},
        {"count", entry->count, nullptr, sizeof entry->count},
        {"valid", entry->valid, nullptr, sizeof entry->valid},
        {"date", entry->date, nullptr, sizeof entry->date},
        {"access", entry->access, nullptr, sizeof entry->access},
        {"update", entry->update, nullptr, sizeof entry->update},
        {"list", nullptr, &entry->list, kAddressSize},
        {"title", nullptr, &entry->title, kTitleSize},
        {"comment", nullptr, &entry->comment, kCommentSize},
    };
    ReadValues(node, slots, sizeof slots / sizeof slots[0], "an entry lacks one of its nine values", to);
}

}  // namespace

int CmyXml::LoadSnapshot()
{
    return RunOperation(nullptr, false, [this](pugi::xml_document* doc) { return LoadSnapshotFrom(doc); },
                        false, true);
}

int CmyXml::LoadSnapshotFrom(pugi::xml_document* doc)
{
    Node root = RootOf(doc);
    if (!ansiTable_)
        ansiTable_.reset(new AnsiTable());
    const Target to{&arena_, ansiTable_.get()};
    NeedNoText(root, "a folder lacks id, name or array");
    int f = 0;
    for (Node dir = root.first_child(); dir; dir = dir.next_sibling(), ++f) {
        FolderRecord folder;
        Node notes = ReadContainer(dir, folder.id, &folder.name, "a folder lacks id, name or array", to);
        NeedNoText(notes, "a note lacks id, name or array");
        int n = 0;
        for (Node booklist = notes.first_child(); booklist; booklist = booklist.next_sibling(), ++n) {
            NoteRecord note;
            Node entries = ReadContainer(booklist, note.id, &note.name, "a note lacks id, name or array", to);
            NeedNoText(entries, "an entry lacks one of its nine values");
            note.entries.reserve(static_cast<size_t>(ChildCount(entries)));
            int e = 0;
            for (Node bookmark = entries.first_child(); bookmark; bookmark = bookmark.next_sibling(), ++e) {
                note.entries.emplace_back();
                EntryRecord& entry = note.entries.back();
                ReadEntry(bookmark, &entry, to);
                entry.folderPos = f;
                entry.notePos = n;
                entry.entryPos = e;
                FormatEntryKey(f, n, e, entry.key, sizeof entry.key);
            }
            folder.notes.push_back(std::move(note));
        }
        snapshot_.push_back(std::move(folder));
    }
    return 1;
}
