#pragma once
#include <string>

#include <pugixml.hpp>

// Node helpers over the pugixml document of the store. Positions count
// every child node (elements, text, comments), as the store file's rules
// do; values are found by element name. Missing nodes that an operation
// needs raise a StoreFailure (store_failure.h).

using Node = pugi::xml_node;

// Child at position index (0-based) or empty when there is none.
Node ChildAt(Node parent, long index);
long ChildCount(Node parent);
// First child element whose name is name, or empty.
Node ChildNamed(Node parent, const char* name);

// The element's text (UTF-8): its text and CDATA children joined.
std::string TextOf(Node element);
// TextOf the first child element named name; raises E_POINTER when missing.
std::string ValueOf(Node parent, const char* name);

// Replaces the element's first text child by a text node holding value
// (UTF-8). An element with no text gets one, so that a value written empty
// by hand can still be changed.
void ReplaceFirstText(Node element, const std::string& value);
// ReplaceFirstText on the first child element named name; E_POINTER when missing.
void SetValue(Node parent, const char* name, const std::string& value);

// Appends a new element to parent, with one text node when text is given.
Node AppendElement(Node parent, const char* name, const std::string* text = nullptr);

std::string DecimalText(long value);

// Store lookups by position: folder f is child f of root, note n is child n
// of the folder's first array, entry e is child e of the note's first
// array. Each gives an empty node when a step is missing (the callers
// decide whether that is tested or a failure).
Node ArrayOf(Node node);
Node FolderAt(Node root, long f);
Node NoteAt(Node root, long f, long n);
Node EntryAt(Node root, long f, long n, long e);

// Moves child index of sourceArray to the end of destArray, as the note and
// entry moves do. With destArray empty the child is used untested (a missing
// one raises E_POINTER, missing naming it); with destArray holding children,
// a missing child moves nothing (false). No array gets a 1001st child
// (false), except when source and destination are the same array.
bool MoveToEnd(Node sourceArray, long index, Node destArray, bool sameArray, const char* missing);
