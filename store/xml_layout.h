#pragma once
#include <cstddef>
#include <functional>
#include <string>

#include <pugixml.hpp>

// The bytes of the store file, free of any window code: parsing them into a
// pugixml document and writing a document back in the store's two layouts.
//
// Indented (after a change that adds or moves something):
//
//   <?xml version="1.0" encoding="UTF-8" standalone="no"?>CR LF
//   <root>CR LF
//   TAB<dir>CR LF
//   TAB TAB<id>0</id>CR LF              one element per line, one TAB per depth
//   TAB TAB<array/>CR LF                an element without content
//   ...
//   </root>                             (no line end after it)
//
//   The declaration is always this one. Comments, processing instructions
//   and the document type are not written; CDATA is written as text. An
//   element whose text stands beside child elements is written without
//   added white space, which would otherwise become part of its text.
//
// Plain (after every other change): the document's own declaration (if it
// has one), its comments, processing instructions and document type, and
// the root element, each followed by LF; no white space is added inside.
//
// In both, text escapes & < > and CR (as &#13;, so that a CR LF inside a
// value reads back as CR LF); attribute values also escape " TAB LF CR.
// Neither writes a byte-order mark.

// What the store keeps of a file: white-space-only text is dropped (so that
// positions count only nodes with content), comments, processing
// instructions, the declaration and the document type are kept for the
// plain layout.
constexpr unsigned kStoreParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi |
                                        pugi::parse_declaration | pugi::parse_doctype;
// The same for a document that is read and never written: an element's
// first text is kept as the element's value instead of a child of its own,
// which halves the nodes of a store (and the time to make and walk them).
constexpr unsigned kSnapshotParseOptions = kStoreParseOptions | pugi::parse_embed_pcdata;

// Parses a store file's bytes (UTF-8 with or without a byte-order mark)
// into doc, in place: bytes must come from pugixml's allocation function
// (pugi::get_memory_allocation_function), and doc takes them over whatever
// the outcome. A fault, more than one root element, or elements nested
// deeper than 256 levels (the depth the store read before) leave doc empty,
// returns false and tells what in fault ("Start-end tags mismatch (status
// 14)") and where in offset (bytes from the start of the file).
// options: kStoreParseOptions, or kSnapshotParseOptions for a document that
// is only read.
bool ParseStoreBytes(pugi::xml_document& doc, char* bytes, size_t size, std::string* fault, size_t* offset,
                     unsigned options = kStoreParseOptions);

// Where offset lies in text, as a text: "line 3, column 7" (both from 1,
// the column in bytes).
std::string TextPosition(const char* text, size_t size, size_t offset);

// Receives the written bytes in pieces; false stops the write.
using LayoutOutput = std::function<bool(const char* data, size_t size)>;

// Write doc in the layout; false when output refused a piece.
bool WriteIndentedLayout(const pugi::xml_document& doc, const LayoutOutput& output);
bool WritePlainLayout(const pugi::xml_document& doc, const LayoutOutput& output);
