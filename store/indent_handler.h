#pragma once
#include <windows.h>
#include <msxml2.h>

#include <string>
#include <vector>

// A SAX content handler that sits between the SAX reader and the XML writer
// and writes the indentation itself.
//
// Why: Wine's writer refuses putDocumentLocator with E_NOTIMPL, which ends
// every parse into it; and its own indent mode puts a line end and tabs
// before the end tag of text-only elements, so values would read back with
// trailing white space. With the writer's indent off, this handler gives the
// same layout on Windows and Wine:
//
//   <?xml version="1.0" encoding="UTF-8" standalone="no"?>   (the writer's)
//   <root>
//   <TAB><dir>
//   <TAB><TAB><id>0</id>                 text-only elements on one line
//   ...
//   </root>
//
// CR LF before every nested start tag and before the end tag of an element
// that has child elements, one TAB per depth; white-space-only text between
// elements is dropped, all other text is passed on unchanged.
class IndentingHandler : public ISAXContentHandler {
public:
    // Creates a handler with one reference that forwards to writer.
    static IndentingHandler* Create(ISAXContentHandler* writer);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ISAXContentHandler
    HRESULT STDMETHODCALLTYPE putDocumentLocator(ISAXLocator* locator) override;
    HRESULT STDMETHODCALLTYPE startDocument() override;
    HRESULT STDMETHODCALLTYPE endDocument() override;
    HRESULT STDMETHODCALLTYPE startPrefixMapping(const wchar_t* prefix, int prefixLength,
                                                 const wchar_t* uri, int uriLength) override;
    HRESULT STDMETHODCALLTYPE endPrefixMapping(const wchar_t* prefix, int prefixLength) override;
    HRESULT STDMETHODCALLTYPE startElement(const wchar_t* uri, int uriLength,
                                           const wchar_t* localName, int localLength,
                                           const wchar_t* qName, int qLength,
                                           ISAXAttributes* attributes) override;
    HRESULT STDMETHODCALLTYPE endElement(const wchar_t* uri, int uriLength,
                                         const wchar_t* localName, int localLength,
                                         const wchar_t* qName, int qLength) override;
    HRESULT STDMETHODCALLTYPE characters(const wchar_t* chars, int length) override;
    HRESULT STDMETHODCALLTYPE ignorableWhitespace(const wchar_t* chars, int length) override;
    HRESULT STDMETHODCALLTYPE processingInstruction(const wchar_t* target, int targetLength,
                                                    const wchar_t* data, int dataLength) override;
    HRESULT STDMETHODCALLTYPE skippedEntity(const wchar_t* name, int length) override;

private:
    explicit IndentingHandler(ISAXContentHandler* writer);
    virtual ~IndentingHandler();

    HRESULT BreakLine(size_t depth);
    // Passes on the text gathered in the current element, unless it is only
    // white space standing between child elements.
    HRESULT FlushText(bool betweenElements);

    LONG refs_ = 1;
    ISAXContentHandler* writer_;
    // One flag per open element: has it had a child element yet?
    std::vector<bool> hasChildElements_;
    std::wstring pendingText_;
    std::wstring lineBreak_;
};
