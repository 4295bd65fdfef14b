#include "store/dom_nodes.h"

#include <cstdio>
#include <cstring>

#include "store/records.h"
#include "store/store_failure.h"

namespace {

bool IsText(Node node)
{
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

}  // namespace

Node ChildAt(Node parent, long index)
{
    if (!parent || index < 0)
        return Node();
    Node child = parent.first_child();
    for (long i = 0; i < index && child; ++i)
        child = child.next_sibling();
    return child;
}

long ChildCount(Node parent)
{
    long count = 0;
    for (Node child = parent.first_child(); child; child = child.next_sibling())
        ++count;
    return count;
}

Node ChildNamed(Node parent, const char* name)
{
    for (Node child = parent.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && strcmp(child.name(), name) == 0)
            return child;
    }
    return Node();
}

std::string TextOf(Node element)
{
    std::string text;
    for (Node child = element.first_child(); child; child = child.next_sibling()) {
        if (IsText(child))
            text += child.value();
    }
    return text;
}

std::string ValueOf(Node parent, const char* name)
{
    Node element = ChildNamed(parent, name);
    STORE_NEED(element, "a value element is missing");
    return TextOf(element);
}

void ReplaceFirstText(Node element, const std::string& value)
{
    Node old = element.first_child();
    while (old && !IsText(old))
        old = old.next_sibling();
    Node text;
    if (old && old.type() == pugi::node_pcdata) {
        text = old;
    } else {
        // A CDATA section is replaced by plain text, as any other value.
        text = old ? element.insert_child_before(pugi::node_pcdata, old) : element.append_child(pugi::node_pcdata);
        STORE_MADE(text, "create a text node");
        if (old)
            element.remove_child(old);
    }
    if (!text.set_value(value.c_str()))
        RaiseStoreFailure(E_OUTOFMEMORY, __LINE__, "set a text");
}

void SetValue(Node parent, const char* name, const std::string& value)
{
    Node element = ChildNamed(parent, name);
    STORE_NEED(element, "a value element is missing");
    ReplaceFirstText(element, value);
}

Node AppendElement(Node parent, const char* name, const std::string* text)
{
    Node element = parent.append_child(name);
    STORE_MADE(element, "create an element");
    if (text != nullptr)
        ReplaceFirstText(element, *text);
    return element;
}

std::string DecimalText(long value)
{
    char buffer[32];
    snprintf(buffer, sizeof buffer, "%ld", value);
    return buffer;
}

Node ArrayOf(Node node)
{
    return node ? ChildNamed(node, "array") : Node();
}

Node FolderAt(Node root, long f)
{
    return ChildAt(root, f);
}

Node NoteAt(Node root, long f, long n)
{
    Node notes = ArrayOf(FolderAt(root, f));
    return notes ? ChildAt(notes, n) : Node();
}

Node EntryAt(Node root, long f, long n, long e)
{
    Node entries = ArrayOf(NoteAt(root, f, n));
    return entries ? ChildAt(entries, e) : Node();
}

bool MoveToEnd(Node sourceArray, long index, Node destArray, bool sameArray, const char* missing)
{
    Node child = ChildAt(sourceArray, index);
    if (destArray.first_child()) {
        // Ids and keys hold three digits.
        if (!child || (!sameArray && ChildCount(destArray) >= kMaxChildren))
            return false;
    } else {
        STORE_NEED(child, missing);
    }
    STORE_MADE(destArray.append_move(child), "move a node");
    return true;
}
