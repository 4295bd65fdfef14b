#include "store/indent_handler.h"

#include "store/msxml_ids.h"

IndentingHandler* IndentingHandler::Create(ISAXContentHandler* writer)
{
    return new IndentingHandler(writer);
}

IndentingHandler::IndentingHandler(ISAXContentHandler* writer) : writer_(writer)
{
    writer_->AddRef();
}

IndentingHandler::~IndentingHandler()
{
    writer_->Release();
}

HRESULT IndentingHandler::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kIidSaxContentHandler)) {
        *out = static_cast<ISAXContentHandler*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG IndentingHandler::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG IndentingHandler::Release()
{
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT IndentingHandler::putDocumentLocator(ISAXLocator*)
{
    // Not forwarded: Wine's writer answers E_NOTIMPL, which stops the parse.
    return S_OK;
}

HRESULT IndentingHandler::startDocument()
{
    hasChildElements_.clear();
    pendingText_.clear();
    return writer_->startDocument();
}

HRESULT IndentingHandler::endDocument()
{
    return writer_->endDocument();
}

HRESULT IndentingHandler::startPrefixMapping(const wchar_t* prefix, int prefixLength,
                                             const wchar_t* uri, int uriLength)
{
    return writer_->startPrefixMapping(prefix, prefixLength, uri, uriLength);
}

HRESULT IndentingHandler::endPrefixMapping(const wchar_t* prefix, int prefixLength)
{
    return writer_->endPrefixMapping(prefix, prefixLength);
}

HRESULT IndentingHandler::BreakLine(size_t depth)
{
    // An empty text first: Wine's writer keeps a start tag open (to write
    // "<x/>" for an empty element) and closes it on text, not on white
    // space, which would otherwise land inside the tag.
    static const wchar_t kNothing[] = L"";
    HRESULT hr = writer_->characters(kNothing, 0);
    if (FAILED(hr))
        return hr;
    lineBreak_.assign(L"\r\n");
    lineBreak_.append(depth, L'\t');
    return writer_->ignorableWhitespace(lineBreak_.data(), static_cast<int>(lineBreak_.size()));
}

HRESULT IndentingHandler::FlushText(bool betweenElements)
{
    if (pendingText_.empty())
        return S_OK;
    bool blank = pendingText_.find_first_not_of(L" \t\r\n") == std::wstring::npos;
    HRESULT hr = S_OK;
    if (!(blank && betweenElements))
        hr = writer_->characters(pendingText_.data(), static_cast<int>(pendingText_.size()));
    pendingText_.clear();
    return hr;
}

HRESULT IndentingHandler::startElement(const wchar_t* uri, int uriLength,
                                       const wchar_t* localName, int localLength,
                                       const wchar_t* qName, int qLength,
                                       ISAXAttributes* attributes)
{
    size_t depth = hasChildElements_.size();
    if (depth > 0) {
        HRESULT hr = FlushText(true);
        if (FAILED(hr))
            return hr;
        hasChildElements_.back() = true;
        hr = BreakLine(depth);
        if (FAILED(hr))
            return hr;
    }
    hasChildElements_.push_back(false);
    return writer_->startElement(uri, uriLength, localName, localLength, qName, qLength, attributes);
}

HRESULT IndentingHandler::endElement(const wchar_t* uri, int uriLength,
                                     const wchar_t* localName, int localLength,
                                     const wchar_t* qName, int qLength)
{
    bool nested = !hasChildElements_.empty() && hasChildElements_.back();
    if (!hasChildElements_.empty())
        hasChildElements_.pop_back();
    HRESULT hr = FlushText(nested);
    if (SUCCEEDED(hr) && nested)
        hr = BreakLine(hasChildElements_.size());
    if (FAILED(hr))
        return hr;
    return writer_->endElement(uri, uriLength, localName, localLength, qName, qLength);
}

HRESULT IndentingHandler::characters(const wchar_t* chars, int length)
{
    // Gathered, because the reader may split one text into several calls
    // and only the whole decides whether it is layout white space.
    if (chars != nullptr && length > 0)
        pendingText_.append(chars, static_cast<size_t>(length));
    return S_OK;
}

HRESULT IndentingHandler::ignorableWhitespace(const wchar_t*, int)
{
    return S_OK;
}

HRESULT IndentingHandler::processingInstruction(const wchar_t* target, int targetLength,
                                                const wchar_t* data, int dataLength)
{
    return writer_->processingInstruction(target, targetLength, data, dataLength);
}

HRESULT IndentingHandler::skippedEntity(const wchar_t* name, int length)
{
    return writer_->skippedEntity(name, length);
}
