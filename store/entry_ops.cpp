// Entry operations: add, edit, retitle, count an access, delete the list's
// selected rows, move, and write the update check's findings.
#include <msxml2.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "store/dom_nodes.h"
#include "store/entry_key.h"
#include "store/store_failure.h"
#include "store/text_convert.h"
#include "store/xml_store.h"

namespace {

// A record field as document text; a field that fills its whole width
// without a terminator is read to its width only.
template <size_t N>
std::wstring FieldText(const char (&field)[N])
{
    std::string text(field, strnlen(field, N));
    return AnsiToDocumentText(CutAnsi(text.c_str(), N).c_str());
}

std::wstring TodayText()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[32];
    swprintf(text, 32, L"%d/%02d/%02d", now.wYear, now.wMonth, now.wDay);
    return text;
}

// The decimal value of the text's leading digits (0 when there are none),
// bounded so that it cannot overflow.
long LeadingNumber(const std::wstring& text)
{
    long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            break;
        value = std::min(value * 10 + (c - L'0'), 1000000L);
    }
    return value;
}

// The nine values of an entry, in the order they are written.
struct ValueField {
    const wchar_t* name;
    std::wstring text;
};

std::vector<ValueField> EntryValues(const EntryRecord& record, long id)
{
    return {
        {L"id", DecimalText(id)},
        {L"count", FieldText(record.count)},
        {L"valid", FieldText(record.valid)},
        {L"date", FieldText(record.date)},
        {L"access", FieldText(record.access)},
        {L"update", FieldText(record.update)},
        {L"list", FieldText(record.list)},
        {L"title", FieldText(record.title)},
        {L"comment", FieldText(record.comment)},
    };
}

// The note's entry array, or empty when folder, note or array is missing.
NodePtr EntriesOf(IXMLDOMNode* root, long f, long n)
{
    return ArrayOf(NoteAt(root, f, n).Get());
}

}  // namespace

int CmyXml::AddEntry(const EntryRecord& record, HWND owner)
{
    BackupStore();
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        NodePtr note = NoteAt(root.Get(), record.folderPos, record.notePos);
        if (!note)
            return 0;
        NodePtr entries = ArrayOf(note.Get());
        STORE_NEED(entries, "a note lacks its array");
        // The id is the entry's position, which the caller's entry position
        // should equal; the count in the file is what makes it true.
        long count = ChildCount(entries.Get());
        if (count >= kMaxChildren)
            return 0;
        NodePtr bookmark = NewElement(doc, L"bookmark");
        for (const ValueField& value : EntryValues(record, count))
            AppendChild(bookmark.Get(), NewElement(doc, value.name, &value.text).Get());
        AppendChild(entries.Get(), bookmark.Get());
        return SaveIndented(doc, owner);
    });
}

int CmyXml::EditEntry(const EntryRecord& record, HWND owner)
{
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        NodePtr entry = EntryAt(root.Get(), record.folderPos, record.notePos, record.entryPos);
        if (!entry)
            return 0;
        for (const ValueField& value : EntryValues(record, record.entryPos))
            SetValue(doc, entry.Get(), value.name, value.text);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::SetEntryTitle(const char* title, const char* key, HWND owner)
{
    EntryPositions at;
    if (!ReadEntryKey(key, &at))
        return 0;
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        NodePtr entry = EntryAt(root.Get(), at.folder, at.note, at.entry);
        if (!entry)
            return 0;
        EntryRecord widths;
        std::wstring text =
            AnsiToDocumentText(CutAnsi(title != nullptr ? title : "", sizeof widths.title).c_str());
        SetValue(doc, entry.Get(), L"title", text);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::RecordAccess(const char* key, HWND owner)
{
    EntryPositions at;
    if (!ReadEntryKey(key, &at))
        return 0;
    std::wstring today = TodayText();
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        NodePtr entry = EntryAt(root.Get(), at.folder, at.note, at.entry);
        if (!entry)
            return 0;
        NodePtr count = ChildNamed(entry.Get(), L"count");
        STORE_NEED(count, "an entry lacks its count");
        // Three digits: the count stops at 999, the access date still moves.
        long next = std::min(LeadingNumber(TextOf(count.Get())) + 1, static_cast<long>(kMaxAccessCount));
        ReplaceText(doc, count.Get(), DecimalText(next));
        SetValue(doc, entry.Get(), L"access", today);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::DeleteSelectedEntries(HWND listView, HWND owner)
{
    // The selected rows and their keys are taken before anything changes,
    // so each is visited exactly once however rows are removed later.
    struct Row {
        int index;
        char key[kEntryKeySize];
    };
    std::vector<Row> rows;
    HWND header = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
    int columns = header != nullptr ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    if (columns <= 0)
        return 0;
    for (int i = -1;;) {
        i = static_cast<int>(SendMessageA(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(i),
                                          MAKELPARAM(LVNI_SELECTED, 0)));
        if (i < 0)
            break;
        Row row{i, {}};
        LVITEMA item = {};
        item.iSubItem = columns - 1;
        item.pszText = row.key;
        item.cchTextMax = sizeof row.key;
        SendMessageA(listView, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        rows.push_back(row);
    }
    if (rows.empty())
        return 0;

    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        std::vector<int> removedRows;
        EntryPositions last;
        for (const Row& row : rows) {
            EntryPositions at;
            if (!ReadEntryKey(row.key, &at))
                continue;   // a key that names no entry is skipped
            NodePtr entries = EntriesOf(root.Get(), at.folder, at.note);
            if (!entries)
                continue;   // a key that names no note is skipped
            std::wstring wanted = DecimalText(at.entry);
            for (NodePtr entry = FirstChild(entries.Get()); entry; entry = NextSibling(entry.Get())) {
                NodePtr id = ChildNamed(entry.Get(), L"id");
                if (id && TextOf(id.Get()) == wanted) {
                    RemoveChild(entries.Get(), entry.Get());
                    removedRows.push_back(row.index);
                    last = at;
                    break;
                }
            }
        }
        // From the bottom up, so that the indices still name the same rows.
        std::sort(removedRows.rbegin(), removedRows.rend());
        for (int index : removedRows)
            SendMessageA(listView, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
        if (removedRows.empty())
            return 0;
        RenumberEntries(doc, last.folder, last.note, owner);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::MoveEntry(int sourceF, int sourceN, int sourceE, int destF, int destN, HWND owner)
{
    BackupStore();
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        NodePtr sourceNote = NoteAt(root.Get(), sourceF, sourceN);
        NodePtr destNote = NoteAt(root.Get(), destF, destN);
        if (!sourceNote || !destNote)
            return 0;
        NodePtr sourceEntries = ArrayOf(sourceNote.Get());
        STORE_NEED(sourceEntries, "a note lacks its array");
        NodePtr destEntries = ArrayOf(destNote.Get());
        bool sameNote = sourceF == destF && sourceN == destN;
        if (!destEntries ||
            !MoveToEnd(sourceEntries.Get(), sourceE, destEntries.Get(), sameNote, "the entry to move is missing"))
            return 0;
        RenumberEntries(doc, sourceF, sourceN, owner);
        RenumberEntries(doc, destF, destN, owner);
        return SaveIndented(doc, owner);
    });
}

int CmyXml::RenumberEntries(IXMLDOMDocument* doc, int f, int n, HWND owner)
{
    return RunStep(owner, [&] {
        NodePtr root = DocumentElement(doc);
        NodePtr entries = EntriesOf(root.Get(), f, n);
        if (!entries)
            return 0;
        long k = 0;
        for (NodePtr entry = FirstChild(entries.Get()); entry; entry = NextSibling(entry.Get()), ++k) {
            NodePtr id = ChildNamed(entry.Get(), L"id");
            if (id)
                ReplaceText(doc, id.Get(), DecimalText(k));
        }
        return 1;
    });
}

int CmyXml::ApplyCheckResults(const std::vector<EntryRecord>& records, HWND owner)
{
    return RunOperation(owner, true, [&](IXMLDOMDocument* doc) {
        NodePtr root = DocumentElement(doc);
        bool written = false;
        for (const EntryRecord& record : records) {
            char key[sizeof record.key + 1] = {};
            memcpy(key, record.key, sizeof record.key);
            EntryPositions at;
            if (!ReadEntryKey(key, &at))
                continue;
            NodePtr entry = EntryAt(root.Get(), at.folder, at.note, at.entry);
            if (!entry)
                continue;
            SetValue(doc, entry.Get(), L"valid", FieldText(record.valid));
            SetValue(doc, entry.Get(), L"update", FieldText(record.update));
            written = true;
        }
        if (written)
            SavePlain(doc);
        return 1;
    });
}
