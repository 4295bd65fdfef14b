// Folder and note operations: create, rename (which sorts), delete and move,
// keeping every id equal to its node's position.
#include <msxml2.h>

#include <algorithm>
#include <cstring>

#include "store/dom_nodes.h"
#include "app/ansi_text.h"
#include "store/name_compare.h"
#include "store/store_failure.h"
#include "store/text_convert.h"
#include "store/xml_store.h"

namespace {

const wchar_t kNewName[] = L"新規作成";
const size_t kNameWidth = 260;

// A folder or a note: id, name, empty array, in this order.
NodePtr NewContainer(IXMLDOMDocument* doc, const wchar_t* tag, long id)
{
    NodePtr node = NewElement(doc, tag);
    std::wstring idText = DecimalText(id);
    std::wstring name = kNewName;
    AppendChild(node.Get(), NewElement(doc, L"id", &idText).Get());
    AppendChild(node.Get(), NewElement(doc, L"name", &name).Get());
    AppendChild(node.Get(), NewElement(doc, L"array").Get());
    return node;
}

// Note n of folder f with the folder's array: the folder and the note are
// tested (note empty when either is missing), the array is not.
struct NoteLookup {
    NodePtr notes;
    NodePtr note;
};

NoteLookup NoteIn(IXMLDOMNode* root, int f, int n)
{
    NoteLookup found;
    NodePtr folder = FolderAt(root, f);
    if (!folder)
        return found;
    found.notes = ArrayOf(folder.Get());
    STORE_NEED(found.notes, "a folder lacks its array");
    found.note = ChildAt(found.notes.Get(), n);
    return found;
}

std::wstring NameText(const char* name)
{
    return AnsiToDocumentText(CutAnsi(name != nullptr ? name : "", kNameWidth).c_str());
}

}  // namespace

int CmyXml::NewFolder(HWND owner)
{
    BackupStore();
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElementOrNull(doc);
        if (!root)
            return 0;
        // The id is the folder's position: the count in the file itself,
        // which a stale snapshot cannot get wrong.
        long count = ChildCount(root.Get());
        if (count >= kMaxChildren)
            return 0;
        AppendChild(root.Get(), NewContainer(doc, L"dir", count).Get());
        return SaveIndented(doc, owner);
    });
}

int CmyXml::NewNote(int f, int id, HWND owner)
{
    BackupStore();
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        NodePtr notes = ArrayOf(FolderAt(root.Get(), f).Get());
        if (!notes || ChildCount(notes.Get()) >= kMaxChildren)
            return 0;
        AppendChild(notes.Get(), NewContainer(doc, L"booklist", id).Get());
        return SaveIndented(doc, owner);
    });
}

int CmyXml::RenameFolder(const char* name, int f, HWND owner)
{
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        NodePtr folder = FolderAt(root.Get(), f);
        if (!folder)
            return 0;
        SetValue(doc, folder.Get(), L"name", NameText(name));
        if (!SortFolders(doc, owner))
            return 0;
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::RenameNote(const char* name, int f, int n, HWND owner)
{
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        NoteLookup found = NoteIn(root.Get(), f, n);
        if (!found.note)
            return 0;
        SetValue(doc, found.note.Get(), L"name", NameText(name));
        if (!SortNotes(doc, f, owner))
            return 0;
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::DeleteFolder(int f, HWND owner)
{
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        NodePtr folder = FolderAt(root.Get(), f);
        if (!folder)
            return 0;
        RemoveChild(root.Get(), folder.Get());
        RenumberFolders(doc, owner);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::DeleteNote(int f, int n, HWND owner)
{
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        NoteLookup found = NoteIn(root.Get(), f, n);
        if (!found.note)
            return 0;
        RemoveChild(found.notes.Get(), found.note.Get());
        RenumberNotes(doc, f, owner);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::MoveNote(int sourceF, int sourceN, int destF, HWND owner)
{
    BackupStore();
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        NodePtr source = FolderAt(root.Get(), sourceF);
        NodePtr dest = FolderAt(root.Get(), destF);
        if (!source || !dest)
            return 0;
        NodePtr sourceNotes = ArrayOf(source.Get());
        STORE_NEED(sourceNotes, "a folder lacks its array");
        NodePtr destNotes = ArrayOf(dest.Get());
        if (!destNotes ||
            !MoveToEnd(sourceNotes.Get(), sourceN, destNotes.Get(), sourceF == destF, "the note to move is missing"))
            return 0;
        SortNotes(doc, sourceF, owner);
        SortNotes(doc, destF, owner);
        return SaveIndented(doc, owner);
    });
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
int CmyXml::SortChildrenByName(IXMLDOMDocument* doc, int f)
{
    NodePtr root = DocumentElement(doc);
    NodePtr parent;
    if (f < 0) {
        parent = NodePtr::Share(root.Get());
    } else {
        parent = ArrayOf(FolderAt(root.Get(), f).Get());
        if (!parent)
            return 1;   // a missing folder skips the sort
    }
    std::vector<NodePtr> nodes = Children(parent.Get());
    std::vector<std::string> names;
    names.reserve(nodes.size());
    for (const NodePtr& node : nodes) {
        std::wstring name = ValueOf(node.Get(), L"name");
        char cut[kNameWidth];
        WideToAnsiField(name.data(), name.size(), cut, sizeof cut);
        names.push_back(cut);
    }
    for (size_t i = 0; i + 1 < nodes.size(); ++i) {
        for (size_t j = i + 1; j < nodes.size(); ++j) {
            if (CompareNames(names[i].data(), names[i].size(), names[j].data(), names[j].size(),
                             IsAnsiLeadByte) > 0) {
                InsertBefore(parent.Get(), nodes[j].Get(), nodes[i].Get());
                std::rotate(nodes.begin() + static_cast<long>(i), nodes.begin() + static_cast<long>(j),
                            nodes.begin() + static_cast<long>(j) + 1);
                std::rotate(names.begin() + static_cast<long>(i), names.begin() + static_cast<long>(j),
                            names.begin() + static_cast<long>(j) + 1);
            }
        }
    }
    return 1;
}

int CmyXml::SortFolders(IXMLDOMDocument* doc, HWND owner)
{
    if (!RunStep(owner, [&] { return SortChildrenByName(doc, -1); }))
        return 0;
    return RenumberFolders(doc, owner);
}

int CmyXml::SortNotes(IXMLDOMDocument* doc, int f, HWND owner)
{
    if (f < 0 || !RunStep(owner, [&] { return SortChildrenByName(doc, f); }))
        return 0;
    return RenumberNotes(doc, f, owner);
}

int CmyXml::RenumberFolders(IXMLDOMDocument* doc, HWND owner)
{
    return RunStep(owner, [&] {
        NodePtr root = DocumentElement(doc);
        long k = 0;
        for (NodePtr dir = FirstChild(root.Get()); dir; dir = NextSibling(dir.Get())) {
            if (NameIs(dir.Get(), L"dir"))
                SetValue(doc, dir.Get(), L"id", DecimalText(k++));
        }
        return 1;
    });
}

int CmyXml::RenumberNotes(IXMLDOMDocument* doc, int f, HWND owner)
{
    return RunStep(owner, [&] {
        NodePtr root = DocumentElement(doc);
        NodePtr notes = ArrayOf(FolderAt(root.Get(), f).Get());
        if (!notes)
            return 0;
        int written = 0;
        long k = 0;
        for (NodePtr note = FirstChild(notes.Get()); note; note = NextSibling(note.Get()), ++k) {
            NodePtr id = ChildNamed(note.Get(), L"id");
            if (!id)
                continue;
            ReplaceText(doc, id.Get(), DecimalText(k));
            written = 1;
        }
        return written;
    });
}
