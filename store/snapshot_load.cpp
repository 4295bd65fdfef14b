// Reading the store file into the snapshot: one walk over child nodes, each
// value found by element name among its parent's children and cut to its
// field's width.
#include <msxml2.h>

#include <cwchar>

#include "store/dom_nodes.h"
#include "store/entry_key.h"
#include "store/store_failure.h"
#include "store/text_convert.h"
#include "store/xml_store.h"

namespace {

// Reads the element's text into a field of width bytes. The common case, a
// single text child, is read straight from its value (cheaper under Wine
// than the element's text property, and byte-exact).
void ReadField(IXMLDOMNode* element, char* out, size_t width)
{
    NodePtr child = FirstChild(element);
    if (!child) {
        out[0] = '\0';
        return;
    }
    DOMNodeType type;
    STORE_CHECK(child->get_nodeType(&type), "get_nodeType");
    if (type == NODE_TEXT && !NextSibling(child.Get())) {
        Variant value;
        STORE_CHECK(child->get_nodeValue(value.Receive()), "get_nodeValue");
        const VARIANT& v = value.Get();
        if (v.vt == VT_BSTR) {
            WideToAnsiField(v.bstrVal, SysStringLen(v.bstrVal), out, width);
            return;
        }
    }
    std::wstring text = TextOf(element);
    WideToAnsiField(text.data(), text.size(), out, width);
}

struct Slot {
    const wchar_t* name;
    char* field;
    size_t width;
};

// Fills the fields named in slots from the first child element of each
// name; a name with no element raises E_POINTER.
void ReadValues(IXMLDOMNode* parent, Slot* slots, size_t count, const char* what)
{
    unsigned found = 0;
    const unsigned all = (1u << count) - 1;
    for (NodePtr child = FirstChild(parent); child && found != all; child = NextSibling(child.Get())) {
        Bstr name;
        STORE_CHECK(child->get_nodeName(name.Receive()), "get_nodeName");
        if (name.Get() == nullptr)
            continue;
        for (size_t i = 0; i < count; ++i) {
            if ((found & (1u << i)) == 0 && wcscmp(name.Get(), slots[i].name) == 0) {
                ReadField(child.Get(), slots[i].field, slots[i].width);
                found |= 1u << i;
                break;
            }
        }
    }
    STORE_NEED(found == all, what);
}

// Reads id and name of a folder or note and returns its first array.
NodePtr ReadContainer(IXMLDOMNode* node, char (&id)[4], char (&name)[260], const char* what)
{
    Slot slots[] = {{L"id", id, sizeof id}, {L"name", name, sizeof name}};
    ReadValues(node, slots, 2, what);
    NodePtr array = ChildNamed(node, L"array");
    STORE_NEED(array, what);
    return array;
}

void ReadEntry(IXMLDOMNode* node, EntryRecord* entry)
{
    Slot slots[] = {
        {L"id", entry->id, sizeof entry->id},
        {L"count", entry->count, sizeof entry->count},
        {L"valid", entry->valid, sizeof entry->valid},
        {L"date", entry->date, sizeof entry->date},
        {L"access", entry->access, sizeof entry->access},
        {L"update", entry->update, sizeof entry->update},
        {L"list", entry->list, sizeof entry->list},
        {L"title", entry->title, sizeof entry->title},
        {L"comment", entry->comment, sizeof entry->comment},
    };
    ReadValues(node, slots, sizeof slots / sizeof slots[0], "an entry lacks one of its nine values");
}

}  // namespace

int CmyXml::LoadSnapshot()
{
    return RunOperation(nullptr, false, [this](IXMLDOMDocument* doc) { return LoadSnapshotFrom(doc); });
}

int CmyXml::LoadSnapshotFrom(IXMLDOMDocument* doc)
{
    NodePtr root = DocumentElement(doc);
    int f = 0;
    for (NodePtr dir = FirstChild(root.Get()); dir; dir = NextSibling(dir.Get()), ++f) {
        FolderRecord folder;
        NodePtr notes = ReadContainer(dir.Get(), folder.id, folder.name, "a folder lacks id, name or array");
        int n = 0;
        for (NodePtr booklist = FirstChild(notes.Get()); booklist;
             booklist = NextSibling(booklist.Get()), ++n) {
            NoteRecord note;
            NodePtr entries = ReadContainer(booklist.Get(), note.id, note.name, "a note lacks id, name or array");
            ComPtr<IXMLDOMNodeList> list;
            long count = 0;
            if (SUCCEEDED(entries->get_childNodes(list.Receive())) && list && SUCCEEDED(list->get_length(&count)))
                note.entries.reserve(static_cast<size_t>(count));
            int e = 0;
            for (NodePtr bookmark = FirstChild(entries.Get()); bookmark;
                 bookmark = NextSibling(bookmark.Get()), ++e) {
                note.entries.emplace_back();
                EntryRecord& entry = note.entries.back();
                ReadEntry(bookmark.Get(), &entry);
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
