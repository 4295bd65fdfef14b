// Entry operations: add, edit, retitle, count an access, delete the list's
// selected rows, move, and write the update check's findings.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include <pugixml.hpp>

#include "store/dom_nodes.h"
#include "store/entry_key.h"
#include "store/store_failure.h"
#include "store/text_convert.h"
#include "store/xml_store.h"

namespace {

// A record field as document text; a field that fills its whole width
// without a terminator is read to its width only.
template <size_t N>
std::string FieldText(const char (&field)[N])
{
    std::string text(field, strnlen(field, N));
    return AnsiToDocumentText(CutAnsi(text.c_str(), N).c_str());
}

// A long value as document text, held to its width.
std::string FieldText(const RecordText& text, size_t width)
{
    return AnsiToDocumentText(CutAnsi(text, width).c_str());
}

std::string TodayText()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    snprintf(text, sizeof text, "%d/%02d/%02d", now.wYear, now.wMonth, now.wDay);
    return text;
}

// The decimal value of the text's leading digits (0 when there are none),
// bounded so that it cannot overflow.
long LeadingNumber(const std::string& text)
{
    long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = std::min(value * 10 + (c - '0'), 1000000L);
    }
    return value;
}

// The nine values of an entry, in the order they are written.
struct ValueField {
    const char* name;
    std::string text;
};

std::vector<ValueField> EntryValues(const EntryRecord& record, long id)
{
    return {
        {"id", DecimalText(id)},
        {"count", FieldText(record.count)},
        {"valid", FieldText(record.valid)},
        {"date", FieldText(record.date)},
        {"access", FieldText(record.access)},
        {"update", FieldText(record.update)},
        {"list", FieldText(record.list, kAddressSize)},
        {"title", FieldText(record.title, kTitleSize)},
        {"comment", FieldText(record.comment, kCommentSize)},
    };
}

// The note's entry array, or empty when folder, note or array is missing.
Node EntriesOf(Node root, long f, long n)
{
    return ArrayOf(NoteAt(root, f, n));
}

// The entry of the note whose id is the key's position, or none.
Node EntryById(Node root, const EntryPositions& at)
{
    Node entries = EntriesOf(root, at.folder, at.note);
    if (!entries)
        return Node();
    const std::string wanted = DecimalText(at.entry);
    for (Node entry = entries.first_child(); entry; entry = entry.next_sibling()) {
        Node id = ChildNamed(entry, "id");
        if (id && TextOf(id) == wanted)
            return entry;
    }
    return Node();
}

// The entry's address as the snapshot holds it (ANSI, cut to its width).
std::string AddressOf(Node entry)
{
    const std::string text = TextOf(ChildNamed(entry, "list"));
    char address[kAddressSize];
    Utf8ToAnsiField(text.data(), text.size(), address, sizeof address);
    return address;
}

}  // namespace

int CmyXml::AddEntry(const EntryRecord& record, HWND owner)
{
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        Node note = NoteAt(root, record.folderPos, record.notePos);
        if (!note)
            return 0;
        Node entries = ArrayOf(note);
        STORE_NEED(entries, "a note lacks its array");
        // The id is the entry's position, which the caller's entry position
        // should equal; the count in the file is what makes it true.
        long count = ChildCount(entries);
        if (count >= kMaxChildren)
            return 0;
        Node bookmark = AppendElement(entries, "bookmark");
        for (const ValueField& value : EntryValues(record, count))
            AppendElement(bookmark, value.name, &value.text);
        return SaveIndented(doc, owner);
    }, true);
}

int CmyXml::EditEntry(const EntryRecord& record, HWND owner)
{
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        Node entry = EntryAt(root, record.folderPos, record.notePos, record.entryPos);
        if (!entry)
            return 0;
        // The count and dates may have moved on since the caller read them.
        for (const ValueField& value : EntryValues(record, record.entryPos)) {
            if (strcmp(value.name, "list") == 0 || strcmp(value.name, "title") == 0 ||
                strcmp(value.name, "comment") == 0)
                SetValue(entry, value.name, value.text);
        }
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::SetEntryTitle(const char* title, const char* key, HWND owner)
{
    EntryPositions at;
    if (!ReadEntryKey(key, &at))
        return 0;
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        Node entry = EntryAt(root, at.folder, at.note, at.entry);
        if (!entry)
            return 0;
        std::string text = AnsiToDocumentText(CutAnsi(title != nullptr ? title : "", kTitleSize).c_str());
        SetValue(entry, "title", text);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::RecordAccess(const char* key, HWND owner)
{
    EntryPositions at;
    if (!ReadEntryKey(key, &at))
        return 0;
    std::string today = TodayText();
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        Node entry = EntryAt(root, at.folder, at.note, at.entry);
        if (!entry)
            return 0;
        Node count = ChildNamed(entry, "count");
        STORE_NEED(count, "an entry lacks its count");
        // Three digits: the count stops at 999, the access date still moves.
        long next = std::min(LeadingNumber(TextOf(count)) + 1, static_cast<long>(kMaxAccessCount));
        ReplaceFirstText(count, DecimalText(next));
        SetValue(entry, "access", today);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::DeleteEntries(const std::vector<std::string>& keys, HWND owner)
{
    if (keys.empty())
        return 0;
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        // Every node is found before any is removed, so that each key
        // names the entry it named when the user was asked.
        std::vector<Node> doomed;
        std::vector<EntryPositions> notes;
        for (const std::string& key : keys) {
            EntryPositions at;
            if (!ReadEntryKey(key.c_str(), &at))
                continue;   // not a key the list writes
            Node entry = EntryById(root, at);
            if (!entry)
                continue;   // a key that names no entry is skipped
            if (std::find(doomed.begin(), doomed.end(), entry) == doomed.end()) {
                doomed.push_back(entry);
                notes.push_back(at);
            }
        }
        if (doomed.empty())
            return 0;
        RemoveEntryNodes(doc, doomed, notes, owner);
        SavePlain(doc);
        return 1;
    });
}

int CmyXml::DeleteCheckedEntries(const std::vector<EntryPick>& picks, HWND owner)
{
    if (picks.empty())
        return 0;
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        std::vector<Node> doomed;
        std::vector<EntryPositions> notes;
        for (const EntryPick& pick : picks) {
            EntryPositions at;
            Node entry = ReadEntryKey(pick.key.c_str(), &at) ? EntryById(root, at) : Node();
            if (!entry || AddressOf(entry) != pick.address)
                return 0;   // not what the user saw: remove nothing
            if (std::find(doomed.begin(), doomed.end(), entry) == doomed.end()) {
                doomed.push_back(entry);
                notes.push_back(at);
            }
        }
        RemoveEntryNodes(doc, doomed, notes, owner);
        return SaveIndented(doc, owner);
    }, true);
}

void CmyXml::RemoveEntryNodes(pugi::xml_document* doc, const std::vector<Node>& doomed,
                              const std::vector<EntryPositions>& notes, HWND owner)
{
    for (Node entry : doomed)
        entry.parent().remove_child(entry);
    for (size_t i = 0; i < notes.size(); ++i) {
        bool first = true;
        for (size_t j = 0; j < i; ++j)
            first = first && !(notes[j].folder == notes[i].folder && notes[j].note == notes[i].note);
        if (first)
            RenumberEntries(doc, notes[i].folder, notes[i].note, owner);
    }
}

int CmyXml::MoveEntry(int sourceF, int sourceN, int sourceE, int destF, int destN, HWND owner)
{
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        Node sourceNote = NoteAt(root, sourceF, sourceN);
        Node destNote = NoteAt(root, destF, destN);
        if (!sourceNote || !destNote)
            return 0;
        Node sourceEntries = ArrayOf(sourceNote);
        STORE_NEED(sourceEntries, "a note lacks its array");
        Node destEntries = ArrayOf(destNote);
        bool sameNote = sourceF == destF && sourceN == destN;
        if (!destEntries ||
            !MoveToEnd(sourceEntries, sourceE, destEntries, sameNote, "the entry to move is missing"))
            return 0;
        RenumberEntries(doc, sourceF, sourceN, owner);
        RenumberEntries(doc, destF, destN, owner);
        return SaveIndented(doc, owner);
    }, true);
}

int CmyXml::RenumberEntries(pugi::xml_document* doc, int f, int n, HWND owner)
{
    return RunStep(owner, [&] {
        Node root = RootOf(doc);
        Node entries = EntriesOf(root, f, n);
        if (!entries)
            return 0;
        long k = 0;
        for (Node entry = entries.first_child(); entry; entry = entry.next_sibling(), ++k) {
            Node id = ChildNamed(entry, "id");
            if (id)
                ReplaceFirstText(id, DecimalText(k));
        }
        return 1;
    });
}

int CmyXml::ApplyCheckResults(const std::vector<EntryRecord>& records, HWND owner, bool backup)
{
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        bool written = false;
        for (const EntryRecord& record : records) {
            char key[sizeof record.key + 1] = {};
            memcpy(key, record.key, sizeof record.key);
            EntryPositions at;
            if (!ReadEntryKey(key, &at))
                continue;
            Node entry = EntryAt(root, at.folder, at.note, at.entry);
            if (!entry)
                continue;
            SetValue(entry, "valid", FieldText(record.valid));
            SetValue(entry, "update", FieldText(record.update));
            written = true;
        }
        if (written)
            SavePlain(doc);
        return 1;
    }, backup);
}
