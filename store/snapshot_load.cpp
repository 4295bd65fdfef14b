// Reading the store file into the snapshot: one walk over child nodes, each
// value found by element name among its parent's children and cut to its
// field's width.
#include <cstring>

#include <pugixml.hpp>

#include "store/dom_nodes.h"
#include "store/entry_key.h"
#include "store/store_failure.h"
#include "store/text_convert.h"
#include "store/xml_store.h"

namespace {

// Reads the element's text into a field of width bytes. The common case, a
// single text child, is read straight from its value.
void ReadField(Node element, char* out, size_t width)
{
    Node child = element.first_child();
    if (child && child.type() == pugi::node_pcdata && !child.next_sibling()) {
        const char* value = child.value();
        Utf8ToAnsiField(value, strlen(value), out, width);
        return;
    }
    std::string text = TextOf(element);
    Utf8ToAnsiField(text.data(), text.size(), out, width);
}

struct Slot {
    const char* name;
    char* field;
    size_t width;
};

// Fills the fields named in slots from the first child element of each
// name; a name with no element raises E_POINTER. The values usually come in
// the slots' order, so the next slot is tried first.
void ReadValues(Node parent, Slot* slots, size_t count, const char* what)
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
Node ReadContainer(Node node, char (&id)[4], char (&name)[260], const char* what)
{
    Slot slots[] = {{"id", id, sizeof id}, {"name", name, sizeof name}};
    ReadValues(node, slots, 2, what);
    Node array = ChildNamed(node, "array");
    STORE_NEED(array, what);
    return array;
}

void ReadEntry(Node node, EntryRecord* entry)
{
    Slot slots[] = {
        {"id", entry->id, sizeof entry->id},
        {"count", entry->count, sizeof entry->count},
        {"valid", entry->valid, sizeof entry->valid},
        {"date", entry->date, sizeof entry->date},
        {"access", entry->access, sizeof entry->access},
        {"update", entry->update, sizeof entry->update},
        {"list", entry->list, sizeof entry->list},
        {"title", entry->title, sizeof entry->title},
        {"comment", entry->comment, sizeof entry->comment},
    };
    ReadValues(node, slots, sizeof slots / sizeof slots[0], "an entry lacks one of its nine values");
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
        Node notes = ReadContainer(dir, folder.id, folder.name, "a folder lacks id, name or array");
        int n = 0;
        for (Node booklist = notes.first_child(); booklist; booklist = booklist.next_sibling(), ++n) {
            NoteRecord note;
            Node entries = ReadContainer(booklist, note.id, note.name, "a note lacks id, name or array");
            note.entries.reserve(static_cast<size_t>(ChildCount(entries)));
            int e = 0;
            for (Node bookmark = entries.first_child(); bookmark; bookmark = bookmark.next_sibling(), ++e) {
                note.entries.emplace_back();
                EntryRecord& entry = note.entries.back();
                ReadEntry(bookmark, &entry);
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
