#include "store/dom_nodes.h"

#include <cwchar>

#include "store/records.h"
#include "store/store_failure.h"
#include "store/text_convert.h"

ComPtr<IXMLDOMDocument> LoadStoreDocument(const char* path)
{
    ComPtr<IXMLDOMDocument> doc;
    STORE_CHECK(doc.CreateByProgId(L"MSXML.DOMDocument", IID_IXMLDOMDocument, CLSCTX_ALL),
                "create MSXML.DOMDocument");
    STORE_CHECK(doc->put_async(VARIANT_FALSE), "put_async");
    STORE_CHECK(doc->put_validateOnParse(VARIANT_FALSE), "put_validateOnParse");
    STORE_CHECK(doc->put_resolveExternals(VARIANT_FALSE), "put_resolveExternals");
    STORE_CHECK(doc->put_preserveWhiteSpace(VARIANT_FALSE), "put_preserveWhiteSpace");
    Variant source = Variant::String(AnsiToWide(path).c_str());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    // Not examined: a file that did not load has no document element, and
    // the first use of it fails.
    doc->load(source.Get(), &loaded);
    return doc;
}

NodePtr DocumentElementOrNull(IXMLDOMDocument* doc)
{
    ComPtr<IXMLDOMElement> element;
    if (doc == nullptr || FAILED(doc->get_documentElement(element.Receive())) || !element)
        return NodePtr();
    NodePtr node;
    node.QueryFrom(element.Get(), IID_IXMLDOMNode);
    return node;
}

NodePtr DocumentElement(IXMLDOMDocument* doc)
{
    NodePtr root = DocumentElementOrNull(doc);
    STORE_NEED(root, "documentElement: the store file has no root element");
    return root;
}

NodePtr FirstChild(IXMLDOMNode* node)
{
    NodePtr child;
    STORE_CHECK(node->get_firstChild(child.Receive()), "get_firstChild");
    return child;
}

NodePtr NextSibling(IXMLDOMNode* node)
{
    NodePtr next;
    STORE_CHECK(node->get_nextSibling(next.Receive()), "get_nextSibling");
    return next;
}

NodePtr ChildAt(IXMLDOMNode* parent, long index)
{
    if (parent == nullptr || index < 0)
        return NodePtr();
    NodePtr child = FirstChild(parent);
    for (long i = 0; i < index && child; ++i)
        child = NextSibling(child.Get());
    return child;
}

std::vector<NodePtr> Children(IXMLDOMNode* parent)
{
    std::vector<NodePtr> result;
    for (NodePtr child = FirstChild(parent); child; child = NextSibling(child.Get()))
        result.push_back(NodePtr::Share(child.Get()));
    return result;
}

long ChildCount(IXMLDOMNode* parent)
{
    long count = 0;
    for (NodePtr child = FirstChild(parent); child; child = NextSibling(child.Get()))
        ++count;
    return count;
}

bool NameIs(IXMLDOMNode* node, const wchar_t* name)
{
    Bstr nodeName;
    if (FAILED(node->get_nodeName(nodeName.Receive())) || nodeName.Get() == nullptr)
        return false;
    return wcscmp(nodeName.Get(), name) == 0;
}

NodePtr ChildNamed(IXMLDOMNode* parent, const wchar_t* name)
{
    if (parent == nullptr)
        return NodePtr();
    for (NodePtr child = FirstChild(parent); child; child = NextSibling(child.Get())) {
        DOMNodeType type;
        if (SUCCEEDED(child->get_nodeType(&type)) && type == NODE_ELEMENT && NameIs(child.Get(), name))
            return child;
    }
    return NodePtr();
}

namespace {

bool IsTextNode(IXMLDOMNode* node)
{
    DOMNodeType type;
    return SUCCEEDED(node->get_nodeType(&type)) && (type == NODE_TEXT || type == NODE_CDATA_SECTION);
}

void AppendNodeValue(IXMLDOMNode* node, std::wstring* out)
{
    Variant value;
    STORE_CHECK(node->get_nodeValue(value.Receive()), "get_nodeValue");
    const VARIANT& v = value.Get();
    if (v.vt == VT_BSTR && v.bstrVal != nullptr)
        out->append(v.bstrVal, SysStringLen(v.bstrVal));
}

}  // namespace

std::wstring TextOf(IXMLDOMNode* element)
{
    std::wstring text;
    for (NodePtr child = FirstChild(element); child; child = NextSibling(child.Get())) {
        if (IsTextNode(child.Get()))
            AppendNodeValue(child.Get(), &text);
    }
    return text;
}

std::wstring ValueOf(IXMLDOMNode* parent, const wchar_t* name)
{
    NodePtr element = ChildNamed(parent, name);
    STORE_NEED(element, "a value element is missing");
    return TextOf(element.Get());
}

void ReplaceText(IXMLDOMDocument* doc, IXMLDOMNode* element, const std::wstring& value)
{
    ComPtr<IXMLDOMText> text;
    Bstr data(value.c_str(), static_cast<UINT>(value.size()));
    STORE_CHECK(doc->createTextNode(data.Get(), text.Receive()), "createTextNode");
    NodePtr textNode;
    STORE_CHECK(textNode.QueryFrom(text.Get(), IID_IXMLDOMNode), "text node");

    NodePtr old = FirstChild(element);
    while (old && !IsTextNode(old.Get()))
        old = NextSibling(old.Get());
    NodePtr replaced;
    if (old)
        STORE_CHECK(element->replaceChild(textNode.Get(), old.Get(), replaced.Receive()), "replaceChild");
    else
        STORE_CHECK(element->appendChild(textNode.Get(), replaced.Receive()), "appendChild");
}

void SetValue(IXMLDOMDocument* doc, IXMLDOMNode* parent, const wchar_t* name,
              const std::wstring& value)
{
    NodePtr element = ChildNamed(parent, name);
    STORE_NEED(element, "a value element is missing");
    ReplaceText(doc, element.Get(), value);
}

NodePtr NewElement(IXMLDOMDocument* doc, const wchar_t* name, const std::wstring* text)
{
    ComPtr<IXMLDOMElement> element;
    Bstr tag(name);
    STORE_CHECK(doc->createElement(tag.Get(), element.Receive()), "createElement");
    NodePtr node;
    STORE_CHECK(node.QueryFrom(element.Get(), IID_IXMLDOMNode), "element node");
    if (text != nullptr)
        ReplaceText(doc, node.Get(), *text);
    return node;
}

void AppendChild(IXMLDOMNode* parent, IXMLDOMNode* child)
{
    NodePtr added;
    STORE_CHECK(parent->appendChild(child, added.Receive()), "appendChild");
}

void RemoveChild(IXMLDOMNode* parent, IXMLDOMNode* child)
{
    NodePtr removed;
    STORE_CHECK(parent->removeChild(child, removed.Receive()), "removeChild");
}

void InsertBefore(IXMLDOMNode* parent, IXMLDOMNode* child, IXMLDOMNode* before)
{
    Variant where = Variant::Object(before);
    NodePtr inserted;
    STORE_CHECK(parent->insertBefore(child, where.Get(), inserted.Receive()), "insertBefore");
}

std::wstring DecimalText(long value)
{
    wchar_t buffer[32];
    swprintf(buffer, 32, L"%ld", value);
    return buffer;
}

NodePtr ArrayOf(IXMLDOMNode* node)
{
    return node != nullptr ? ChildNamed(node, L"array") : NodePtr();
}

NodePtr FolderAt(IXMLDOMNode* root, long f)
{
    return ChildAt(root, f);
}

NodePtr NoteAt(IXMLDOMNode* root, long f, long n)
{
    NodePtr folder = FolderAt(root, f);
    if (!folder)
        return NodePtr();
    NodePtr notes = ArrayOf(folder.Get());
    return notes ? ChildAt(notes.Get(), n) : NodePtr();
}

NodePtr EntryAt(IXMLDOMNode* root, long f, long n, long e)
{
    NodePtr note = NoteAt(root, f, n);
    if (!note)
        return NodePtr();
    NodePtr entries = ArrayOf(note.Get());
    return entries ? ChildAt(entries.Get(), e) : NodePtr();
}

bool MoveToEnd(IXMLDOMNode* sourceArray, long index, IXMLDOMNode* destArray, bool sameArray,
               const char* missing)
{
    NodePtr child = ChildAt(sourceArray, index);
    if (FirstChild(destArray)) {
        // Ids and keys hold three digits.
        if (!child || (!sameArray && ChildCount(destArray) >= kMaxChildren))
            return false;
        RemoveChild(sourceArray, child.Get());
    } else {
        STORE_NEED(child, missing);
    }
    AppendChild(destArray, child.Get());
    return true;
}
