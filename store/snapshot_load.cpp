// Reading the store file into the snapshot: one walk over child nodes, each
// value found by element name among its parent's children and cut to its
// width; the long values go to the snapshot's arena.
#include <cstring>

#include <pugixml.hpp>

#include "store/dom_nodes.h"
#include "store/entry_key.h"
#include "store/store_failure.h"
#include "store/text_convert.h"
#include "store/xml_store.h"

namespace {

// Reads the element's text, cut to width bytes with its terminator. The
// common case, a single text child, is read straight from its value.
template <typename Use>
void WithText(Node element, Use use)
{
    Node child = element.first_child();
    if (child && child.type() == pugi::node_pcdata && !child.next_sibling()) {
        const char* value = child.value();
        use(value, strlen(value));
        return;
    }
    std::string text = TextOf(element);
    use(text.data(), text.size());
}

void ReadField(Node element, char* out, size_t width)
{
    WithText(element, [&](const char* text, size_t length) { Utf8ToAnsiField(text, length, out, width); });
}

bool IsAscii(const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

// The element's text in the arena, cut to width bytes with its terminator.
void ReadText(Node element, RecordText* out, size_t width, TextArena* arena)
{
    WithText(element, [&](const char* text, size_t length) {
        if (length == 0) {
            *out = RecordText();
            return;
        }
        if (IsAscii(text, length)) {
            size_t cut = length < width - 1 ? length : width - 1;
            char* stored = arena->Allocate(cut);
            memcpy(stored, text, cut);
            *out = RecordText::InArena(stored);
            return;
        }
        char field[kAddressSize > kCommentSize ? kAddressSize : kCommentSize];
        Utf8ToAnsiField(text, length, field, width < sizeof field ? width : sizeof field);
        size_t cut = strlen(field);
        char* stored = arena->Allocate(cut);
        memcpy(stored, field, cut);
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
void ReadValues(Node parent, Slot* slots, size_t count, const char* what, TextArena* arena)
{
    unsigned found = 0;
    const unsigned all = (1u << count) - 1;
    size_t next = 0;
    for (Node child = parent.first_child(); child && found != all; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        const char* name = child.name();
        for (size_t k = 0; k < count; ++k) {
            size_t i = (next + k) % count;
            if ((found & (1u << i)) == 0 && strcmp(name, slots[i].name) == 0) {
                if (slots[i].text != nullptr)
                    ReadText(child, slots[i].text, slots[i].width, arena);
                else
                    ReadField(child, slots[i].field, slots[i].width);
                found |= 1u << i;
                next = i + 1;
                break;
            }
        }
    }
    STORE_NEED(found == all, what);
}

// Reads id and name of a folder or note and returns its first array.
Node ReadContainer(Node node, char (&id)[4], RecordText* name, const char* what, TextArena* arena)
{
    Slot slots[] = {{"id", id, nullptr, sizeof id}, {"name", nullptr, name, kNameSize}};
    ReadValues(node, slots, 2, what, arena);
    Node array = ChildNamed(node, "array");
    STORE_NEED(array, what);
    return array;
}

void ReadEntry(Node node, EntryRecord* entry, TextArena* arena)
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
    ReadValues(node, slots, sizeof slots / sizeof slots[0], "an entry lacks one of its nine values", arena);
}

}  // namespace

int CmyXml::LoadSnapshot()
{
    return RunOperation(nullptr, false, [this](pugi::xml_document* doc) { return LoadSnapshotFrom(doc); });
}

int CmyXml::LoadSnapshotFrom(pugi::xml_document* doc)
{
    Node root = RootOf(doc);
    int f = 0;
    for (Node dir = root.first_child(); dir; dir = dir.next_sibling(), ++f) {
        FolderRecord folder;
        Node notes = ReadContainer(dir, folder.id, &folder.name, "a folder lacks id, name or array", &arena_);
        int n = 0;
        for (Node booklist = notes.first_child(); booklist; booklist = booklist.next_sibling(), ++n) {
            NoteRecord note;
            Node entries = ReadContainer(booklist, note.id, &note.name, "a note lacks id, name or array", &arena_);
            note.entries.reserve(static_cast<size_t>(ChildCount(entries)));
            int e = 0;
            for (Node bookmark = entries.first_child(); bookmark; bookmark = bookmark.next_sibling(), ++e) {
                note.entries.emplace_back();
                EntryRecord& entry = note.entries.back();
                ReadEntry(bookmark, &entry, &arena_);
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
