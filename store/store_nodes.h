#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "store/dom_nodes.h"
#include "store/records.h"
#include "store/text_convert.h"

// The elements of the store's folders, notes and entries, as the
// operations append and rewrite them (the layout in xml_store.h).

// Appends a folder ("dir") or a note ("booklist"): id, name (document
// text), empty array, in this order.
void AppendContainer(Node parent, const char* tag, long id, const std::string& name);

// A record field as document text; a field that fills its whole width
// without a terminator is read to its width only.
template <size_t N>
std::string FieldText(const char (&field)[N])
{
    std::string text(field, strnlen(field, N));
    return AnsiToDocumentText(CutAnsi(text.c_str(), N).c_str());
}

// One value of an entry, as document text.
struct ValueField {
    const char* name;
    std::string text;
};

// The nine values of an entry in the order they are written, with id in
// place of the record's.
std::vector<ValueField> EntryValues(const EntryRecord& record, long id);

// Appends an entry ("bookmark") with its nine values to a note's array.
void AppendBookmark(Node entries, const EntryRecord& record, long id);
