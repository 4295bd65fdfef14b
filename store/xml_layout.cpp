#include "store/xml_layout.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

// Far deeper than a store file goes, and as deep as the store read before.
const size_t kMaxDepth = 256;

const char kIndentedDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n";

// What the escaping replaces: in text & < > CR, in attribute values also
// the quote and the white space that reading would turn into blanks.
enum Escape : unsigned char { kKeep = 0, kInText = 1, kInAttribute = 2 };

struct EscapeTable {
    unsigned char kind[256] = {};
    EscapeTable()
    {
        for (unsigned char c : {'&', '<', '>', '\r'})
            kind[c] = kInText | kInAttribute;
        for (unsigned char c : {'"', '\t', '\n'})
            kind[c] = kInAttribute;
    }
};

const char* Replacement(char c)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '\r': return "&#13;";
    case '"': return "&quot;";
    case '\t': return "&#9;";
    default: return "&#10;";
    }
}

// Collects the output in blocks, so that the receiver sees few large pieces.
class Writer {
public:
    explicit Writer(const LayoutOutput& output) : output_(output) {}
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void Put(const char* data, size_t size)
    {
        if (used_ + size > sizeof buffer_) {
            Flush();
            if (size > sizeof buffer_) {
                Deliver(data, size);
                return;
            }
        }
        memcpy(buffer_ + used_, data, size);
        used_ += size;
    }
    void Put(const char* text) { Put(text, strlen(text)); }
    void Put(char c)
    {
        if (used_ == sizeof buffer_)
            Flush();
        buffer_[used_++] = c;
    }

    void Escaped(const char* text, Escape context)
    {
        static const EscapeTable table;
        const unsigned char* run = reinterpret_cast<const unsigned char*>(text);
        const unsigned char* p = run;
        for (;;) {
            while (*p != 0 && (table.kind[*p] & context) == 0)
                ++p;
            Put(reinterpret_cast<const char*>(run), static_cast<size_t>(p - run));
            if (*p == 0)
                return;
            Put(Replacement(static_cast<char>(*p)));
            run = ++p;
        }
    }

    // CR LF and one TAB per depth.
    void LineBreak(size_t depth)
    {
        static const char kBreak[] = "\r\n\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
        const size_t kTabs = sizeof kBreak - 3;
        Put(kBreak, 2 + (depth < kTabs ? depth : kTabs));
        for (size_t i = kTabs; i < depth; ++i)
            Put('\t');
    }

    bool Finish()
    {
        Flush();
        return ok_;
    }

private:
    void Flush()
    {
        if (used_ > 0)
            Deliver(buffer_, used_);
        used_ = 0;
    }
    void Deliver(const char* data, size_t size)
    {
        if (ok_)
            ok_ = output_(data, size);
    }

    const LayoutOutput& output_;
    char buffer_[64 * 1024];
    size_t used_ = 0;
    bool ok_ = true;
};

bool IsText(const pugi::xml_node& node)
{
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

bool IsBlank(const char* text)
{
    return text[strspn(text, " \t\r\n")] == '\0';
}

bool SameLetters(const char* a, const char* b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (tolower(static_cast<unsigned char>(*a)) != tolower(static_cast<unsigned char>(*b)))
            return false;
    }
    return *a == *b;
}

void Attributes(Writer& out, const pugi::xml_node& element)
{
    bool declaration = element.type() == pugi::node_declaration;
    for (const pugi::xml_attribute& attribute : element.attributes()) {
        out.Put(' ');
        out.Put(attribute.name());
        out.Put("=\"", 2);
        // The bytes written are UTF-8, whatever the file said before.
        if (declaration && strcmp(attribute.name(), "encoding") == 0 && !SameLetters(attribute.value(), "UTF-8"))
            out.Put("UTF-8");
        else
            out.Escaped(attribute.value(), kInAttribute);
        out.Put('"');
    }
}

void StartTag(Writer& out, const pugi::xml_node& element)
{
    out.Put('<');
    out.Put(element.name());
    Attributes(out, element);
}

void EndTag(Writer& out, const pugi::xml_node& element)
{
    out.Put("</", 2);
    out.Put(element.name());
    out.Put('>');
}

// ---- Indented

struct Content {
    bool elements = false;
    bool text = false;        // any text that is not empty
    bool solidText = false;   // text that is not only white space
};

Content ContentOf(const pugi::xml_node& element)
{
    Content content;
    for (const pugi::xml_node& child : element.children()) {
        if (child.type() == pugi::node_element) {
            content.elements = true;
        } else if (IsText(child) && child.value()[0] != '\0') {
            content.text = true;
            content.solidText = content.solidText || !IsBlank(child.value());
        }
    }
    return content;
}

// Mixed content inside the indented layout: elements and text as they are.
void InlineElement(Writer& out, const pugi::xml_node& element)
{
    StartTag(out, element);
    Content content = ContentOf(element);
    if (!content.elements && !content.text) {
        out.Put("/>", 2);
        return;
    }
    out.Put('>');
    for (const pugi::xml_node& child : element.children()) {
        if (child.type() == pugi::node_element)
            InlineElement(out, child);
        else if (IsText(child))
            out.Escaped(child.value(), kInText);
    }
    EndTag(out, element);
}

void IndentedElement(Writer& out, const pugi::xml_node& element, size_t depth)
{
    // Most elements hold a single text.
    pugi::xml_node first = element.first_child();
    if (first.type() == pugi::node_pcdata && !first.next_sibling()) {
        StartTag(out, element);
        const char* text = first.value();
        if (text[0] == '\0') {
            out.Put("/>", 2);
            return;
        }
        out.Put('>');
        out.Escaped(text, kInText);
        EndTag(out, element);
        return;
    }
    Content content = ContentOf(element);
    if (content.elements && content.solidText) {
        InlineElement(out, element);
        return;
    }
    StartTag(out, element);
    if (!content.elements && !content.text) {
        out.Put("/>", 2);
        return;
    }
    out.Put('>');
    if (content.elements) {
        // White space between child elements is layout: replaced by ours.
        for (const pugi::xml_node& child : element.children()) {
            if (child.type() == pugi::node_element) {
                out.LineBreak(depth + 1);
                IndentedElement(out, child, depth + 1);
            }
        }
        out.LineBreak(depth);
    } else {
        for (const pugi::xml_node& child : element.children()) {
            if (IsText(child))
                out.Escaped(child.value(), kInText);
        }
    }
    EndTag(out, element);
}

// ---- Plain

void PlainNode(Writer& out, const pugi::xml_node& node)
{
    switch (node.type()) {
    case pugi::node_element: {
        StartTag(out, node);
        if (!node.first_child()) {
            out.Put("/>", 2);
            break;
        }
        out.Put('>');
        for (const pugi::xml_node& child : node.children())
            PlainNode(out, child);
        EndTag(out, node);
        break;
    }
    case pugi::node_pcdata:
        out.Escaped(node.value(), kInText);
        break;
    case pugi::node_cdata:
        out.Put("<![CDATA[");
        out.Put(node.value());
        out.Put("]]>");
        break;
    case pugi::node_comment:
        out.Put("<!--");
        out.Put(node.value());
        out.Put("-->");
        break;
    case pugi::node_pi:
        out.Put("<?", 2);
        out.Put(node.name());
        if (node.value()[0] != '\0') {
            out.Put(' ');
            out.Put(node.value());
        }
        out.Put("?>", 2);
        break;
    case pugi::node_declaration:
        out.Put("<?", 2);
        out.Put(node.name());
        Attributes(out, node);
        out.Put("?>", 2);
        break;
    case pugi::node_doctype:
        out.Put("<!DOCTYPE");
        if (node.value()[0] != '\0') {
            out.Put(' ');
            out.Put(node.value());
        }
        out.Put('>');
        break;
    default:
        break;
    }
}

// The first element nested deeper than kMaxDepth, or an empty node. The
// writers, and the library when it removes a node, recurse once per level.
// The library's own walk follows its nodes directly, where stepping with
// xml_node costs a call per step: a tenth of a large store's load.
class DepthWalker : public pugi::xml_tree_walker {
public:
    pugi::xml_node found;

    bool for_each(pugi::xml_node& node) override
    {
        // depth() counts the document element as 0.
        if (depth() >= static_cast<int>(kMaxDepth) && node.type() == pugi::node_element) {
            found = node;
            return false;
        }
        return true;
    }
};

pugi::xml_node TooDeep(pugi::xml_document& doc)
{
    DepthWalker walker;
    doc.traverse(walker);
    return walker.found;
}

}  // namespace

bool ParseStoreBytes(pugi::xml_document& doc, char* bytes, size_t size, std::string* fault, size_t* offset,
                     unsigned options)
{
    pugi::xml_parse_result result = doc.load_buffer_inplace_own(bytes, size, options);
    ptrdiff_t at = result.offset;
    char text[128];
    if (!result) {
        snprintf(text, sizeof text, "%s (status %d)", result.description(), static_cast<int>(result.status));
    } else {
        pugi::xml_node second;
        int roots = 0;
        for (const pugi::xml_node& child : doc.children()) {
            if (child.type() == pugi::node_element && ++roots == 2)
                second = child;
        }
        pugi::xml_node deep = second ? pugi::xml_node() : TooDeep(doc);
        if (!second && !deep)
            return true;
        if (second)
            snprintf(text, sizeof text, "More than one root element");
        else
            snprintf(text, sizeof text, "Elements nested deeper than %u", static_cast<unsigned>(kMaxDepth));
        at = (second ? second : deep).offset_debug();
    }
    doc.reset();
    *fault = text;
    *offset = at > 0 ? static_cast<size_t>(at) : 0;
    return false;
}

std::string TextPosition(const char* text, size_t size, size_t offset)
{
    if (offset > size)
        offset = size;
    unsigned long line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    char position[64];
    snprintf(position, sizeof position, "line %lu, column %lu", line,
             static_cast<unsigned long>(offset - lineStart + 1));
    return position;
}

bool WriteIndentedLayout(const pugi::xml_document& doc, const LayoutOutput& output)
{
    Writer out(output);
    out.Put(kIndentedDeclaration);
    pugi::xml_node root = doc.document_element();
    if (root)
        IndentedElement(out, root, 0);
    return out.Finish();
}

bool WritePlainLayout(const pugi::xml_document& doc, const LayoutOutput& output)
{
    Writer out(output);
    for (const pugi::xml_node& node : doc.children()) {
        PlainNode(out, node);
        out.Put('\n');
    }
    return out.Finish();
}
