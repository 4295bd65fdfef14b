#pragma once
#include <windows.h>
#include <msxml2.h>

#include <string>
#include <vector>

#include "app/com_types.h"

// Node helpers over the MSXML DOM for the store. They walk sibling links
// rather than evaluating a query per value: under Wine one selectSingleNode
// per value costs ten times the load of the whole file. Failing calls raise
// a StoreFailure (store_failure.h).

using NodePtr = ComPtr<IXMLDOMNode>;

// A fresh "MSXML.DOMDocument" with the store file loaded synchronously and
// white-space-only text dropped. A missing or malformed file leaves the
// document without a document element.
ComPtr<IXMLDOMDocument> LoadStoreDocument(const char* path);

// The document element; raises E_POINTER when there is none.
NodePtr DocumentElement(IXMLDOMDocument* doc);
// The same, but empty when there is none (a tested lookup).
NodePtr DocumentElementOrNull(IXMLDOMDocument* doc);

NodePtr FirstChild(IXMLDOMNode* node);
NodePtr NextSibling(IXMLDOMNode* node);
// Child at position index (0-based) or empty when there is none.
NodePtr ChildAt(IXMLDOMNode* parent, long index);
// All child nodes in document order.
std::vector<NodePtr> Children(IXMLDOMNode* parent);
long ChildCount(IXMLDOMNode* parent);
// First child element whose name is name, or empty.
NodePtr ChildNamed(IXMLDOMNode* parent, const wchar_t* name);
bool NameIs(IXMLDOMNode* node, const wchar_t* name);

// The element's text: its text and CDATA children joined, byte-exact (the
// DOM's own text property may trim white space).
std::wstring TextOf(IXMLDOMNode* element);
// TextOf the first child element named name; raises E_POINTER when missing.
std::wstring ValueOf(IXMLDOMNode* parent, const wchar_t* name);

// Replaces the element's first text child by a new text node holding value.
// An element with no text gets one, so that a value written empty by hand
// can still be changed.
void ReplaceText(IXMLDOMDocument* doc, IXMLDOMNode* element, const std::wstring& value);
// ReplaceText on the first child element named name; E_POINTER when missing.
void SetValue(IXMLDOMDocument* doc, IXMLDOMNode* parent, const wchar_t* name,
              const std::wstring& value);

// A new element (not yet in the tree), with one text node when text is given.
NodePtr NewElement(IXMLDOMDocument* doc, const wchar_t* name, const std::wstring* text = nullptr);
void AppendChild(IXMLDOMNode* parent, IXMLDOMNode* child);
void RemoveChild(IXMLDOMNode* parent, IXMLDOMNode* child);
void InsertBefore(IXMLDOMNode* parent, IXMLDOMNode* child, IXMLDOMNode* before);

std::wstring DecimalText(long value);

// Store lookups by position: folder f is child f of root, note n is child n
// of the folder's first array, entry e is child e of the note's first
// array. Each gives an empty pointer when a step is missing (the callers
// decide whether that is tested or a failure).
NodePtr ArrayOf(IXMLDOMNode* node);
NodePtr FolderAt(IXMLDOMNode* root, long f);
NodePtr NoteAt(IXMLDOMNode* root, long f, long n);
NodePtr EntryAt(IXMLDOMNode* root, long f, long n, long e);

// Moves child index of sourceArray to the end of destArray, as the note and
// entry moves do. With destArray empty the child is used untested (a missing
// one raises E_POINTER, missing naming it); with destArray holding children,
// a missing child moves nothing (false). No array gets a 1001st child
// (false), except when source and destination are the same array.
bool MoveToEnd(IXMLDOMNode* sourceArray, long index, IXMLDOMNode* destArray, bool sameArray,
               const char* missing);
