// Folder and note operations: create, rename (which sorts), delete and move,
// keeping every id equal to its node's position.
#include <algorithm>
#include <cstring>

#include <pugixml.hpp>

#include "store/dom_nodes.h"
#include "app/ansi_text.h"
#include "store/name_compare.h"
#include "store/store_failure.h"
#include "store/store_nodes.h"
#include "store/text_convert.h"
#include "store/xml_store.h"

namespace {

// Document text is UTF-8.
const char kNewName[] = u8"新規作成";

// Note n of folder f with the folder's array: the folder and the note are
// tested (note empty when either is missing), the array is not.
struct NoteLookup {
    Node notes;
    Node note;
};

// The place of node among its siblings.
int PositionOf(Node node)
{
    int position = 0;
    for (Node before = node.previous_sibling(); before; before = before.previous_sibling())
        ++position;
    return position;
}

NoteLookup NoteIn(Node root, int f, int n)
{
    NoteLookup found;
    Node folder = FolderAt(root, f);
    if (!folder)
        return found;
    found.notes = ArrayOf(folder);
    STORE_NEED(found.notes, "a folder lacks its array");
    found.note = ChildAt(found.notes, n);
    return found;
}

std::string NameText(const char* name)
{
    return AnsiToDocumentText(CutAnsi(name != nullptr ? name : "", kNameSize).c_str());
}

}  // namespace

int CmyXml::NewFolder(HWND owner)
{
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        // The id is the folder's position: the count in the file itself,
        // which a stale snapshot cannot get wrong.
        long count = ChildCount(root);
        if (count >= kMaxChildren)
            return 0;
        AppendContainer(root, "dir", count, kNewName);
        return SaveIndented(doc, owner);
    }, true);
}

int CmyXml::NewNote(int f, int id, HWND owner)
{
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        Node notes = ArrayOf(FolderAt(root, f));
        if (!notes || ChildCount(notes) >= kMaxChildren)
            return 0;
        AppendContainer(notes, "booklist", id, kNewName);
        return SaveIndented(doc, owner);
    }, true);
}

int CmyXml::RenameFolder(const char* name, int f, HWND owner, int* newPosition)
{
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        Node folder = FolderAt(root, f);
        if (!folder)
            return 0;
        SetValue(folder, "name", NameText(name));
        if (!SortFolders(doc, owner))
            return 0;
        if (newPosition != nullptr)
            *newPosition = PositionOf(folder);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::RenameNote(const char* name, int f, int n, HWND owner, int* newPosition)
{
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        NoteLookup found = NoteIn(root, f, n);
        if (!found.note)
            return 0;
        SetValue(found.note, "name", NameText(name));
        if (!SortNotes(doc, f, owner))
            return 0;
        if (newPosition != nullptr)
            *newPosition = PositionOf(found.note);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::DeleteFolder(int f, HWND owner)
{
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        Node folder = FolderAt(root, f);
        if (!folder)
            return 0;
        root.remove_child(folder);
        RenumberFolders(doc, owner);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::DeleteNote(int f, int n, HWND owner)
{
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        NoteLookup found = NoteIn(root, f, n);
        if (!found.note)
            return 0;
        found.notes.remove_child(found.note);
        RenumberNotes(doc, f, owner);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::MoveNote(int sourceF, int sourceN, int destF, HWND owner, int* newPosition)
{
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        Node source = FolderAt(root, sourceF);
        Node dest = FolderAt(root, destF);
        if (!source || !dest)
            return 0;
        Node sourceNotes = ArrayOf(source);
        STORE_NEED(sourceNotes, "a folder lacks its array");
        Node destNotes = ArrayOf(dest);
        if (!destNotes ||
            !MoveToEnd(sourceNotes, sourceN, destNotes, sourceF == destF, "the note to move is missing"))
            return 0;
        Node moved = destNotes.last_child();
        SortNotes(doc, sourceF, owner);
        SortNotes(doc, destF, owner);
        if (newPosition != nullptr)
            *newPosition = PositionOf(moved);
        return SaveIndented(doc, owner);
    }, true);
}

int CmyXml::FindFolderByName(const char* name) const
{
    if (name == nullptr)
        return -1;
    for (size_t f = 0; f < snapshot_.size(); ++f) {
        if (strcmp(snapshot_[f].name, name) == 0)
            return static_cast<int>(f);
    }
    return -1;
}

int CmyXml::FindNoteByName(int f, const char* name) const
{
    if (name == nullptr || f < 0 || static_cast<size_t>(f) >= snapshot_.size())
        return -1;
    const auto& notes = snapshot_[static_cast<size_t>(f)].notes;
    for (size_t n = 0; n < notes.size(); ++n) {
        if (strcmp(notes[n].name, name) == 0)
            return static_cast<int>(n);
    }
    return -1;
}

// The in-document sort: for each i, every later child j whose name sorts
// before child i's is inserted before child i. Child i thus ends with the
// smallest name of i..k-1, and a node moves only before nodes greater than
// it, so equal names keep their order (stable). Names are read once and
// mirrored in a list as the nodes move.
int CmyXml::SortChildrenByName(pugi::xml_document* doc, int f)
{
    Node root = RootOf(doc);
    Node parent = root;
    if (f >= 0) {
        parent = ArrayOf(FolderAt(root, f));
        if (!parent)
            return 1;   // a missing folder skips the sort
    }
    std::vector<Node> nodes;
    std::vector<std::string> names;
    for (Node node = parent.first_child(); node; node = node.next_sibling()) {
        std::string name = ValueOf(node, "name");
        char cut[kNameSize];
        Utf8ToAnsiField(name.data(), name.size(), cut, sizeof cut);
        nodes.push_back(node);
        names.push_back(cut);
    }
    for (size_t i = 0; i + 1 < nodes.size(); ++i) {
        for (size_t j = i + 1; j < nodes.size(); ++j) {
            if (CompareNames(names[i].data(), names[i].size(), names[j].data(), names[j].size(),
                             IsAnsiLeadByte) > 0) {
                STORE_MADE(parent.insert_move_before(nodes[j], nodes[i]), "move a node");
                std::rotate(nodes.begin() + static_cast<long>(i), nodes.begin() + static_cast<long>(j),
                            nodes.begin() + static_cast<long>(j) + 1);
                std::rotate(names.begin() + static_cast<long>(i), names.begin() + static_cast<long>(j),
                            names.begin() + static_cast<long>(j) + 1);
            }
        }
    }
    return 1;
}

int CmyXml::SortFolders(pugi::xml_document* doc, HWND owner)
{
    if (!RunStep(owner, [&] { return SortChildrenByName(doc, -1); }))
        return 0;
    return RenumberFolders(doc, owner);
}

int CmyXml::SortNotes(pugi::xml_document* doc, int f, HWND owner)
{
    if (f < 0 || !RunStep(owner, [&] { return SortChildrenByName(doc, f); }))
        return 0;
    return RenumberNotes(doc, f, owner);
}

int CmyXml::RenumberFolders(pugi::xml_document* doc, HWND owner)
{
    return RunStep(owner, [&] {
        Node root = RootOf(doc);
        long k = 0;
        for (Node dir = root.first_child(); dir; dir = dir.next_sibling()) {
            if (dir.type() == pugi::node_element && strcmp(dir.name(), "dir") == 0)
                SetValue(dir, "id", DecimalText(k++));
        }
        return 1;
    });
}

int CmyXml::RenumberNotes(pugi::xml_document* doc, int f, HWND owner)
{
    return RunStep(owner, [&] {
        Node root = RootOf(doc);
        Node notes = ArrayOf(FolderAt(root, f));
        if (!notes)
            return 0;
        int written = 0;
        long k = 0;
        for (Node note = notes.first_child(); note; note = note.next_sibling(), ++k) {
            Node id = ChildNamed(note, "id");
            if (!id)
                continue;
            ReplaceFirstText(id, DecimalText(k));
            written = 1;
        }
        return written;
    });
}
