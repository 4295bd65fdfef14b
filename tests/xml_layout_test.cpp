// The store file's bytes: parsing and the two layouts. Built for Windows and
// natively with sanitizers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "store/xml_layout.h"

namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>";

// Parses bytes as the store does; fault gets "what at line, column".
bool Parse(pugi::xml_document& doc, const std::string& bytes, std::string* fault = nullptr)
{
    char* copy = static_cast<char*>(pugi::get_memory_allocation_function()(bytes.size() + 1));
    memcpy(copy, bytes.data(), bytes.size());
    std::string what;
    size_t offset = 0;
    bool ok = ParseStoreBytes(doc, copy, bytes.size(), &what, &offset);
    if (!ok && fault != nullptr)
        *fault = what + " at " + TextPosition(bytes.data(), bytes.size(), offset);
    return ok;
}

std::string Written(const pugi::xml_document& doc, bool indented)
{
    std::string out;
    LayoutOutput output = [&](const char* data, size_t size) {
        out.append(data, size);
        return true;
    };
    EXPECT_TRUE(indented ? WriteIndentedLayout(doc, output) : WritePlainLayout(doc, output));
    return out;
}

std::string Indented(const pugi::xml_document& doc)
{
    return Written(doc, true);
}

std::string Plain(const pugi::xml_document& doc)
{
    return Written(doc, false);
}

// Elements nested levels deep (the document element is level 1).
std::string Nested(int levels)
{
    std::string xml;
    for (int i = 0; i < levels; ++i)
        xml += "<e>";
    for (int i = 0; i < levels; ++i)
        xml += "</e>";
    return xml;
}

// One folder with a note and an entry, in the indented layout.
const std::string kIndentedStore =
    kDecl + "\r\n<root>\r\n"
            "\t<dir>\r\n\t\t<id>0</id>\r\n\t\t<name>\xE4\xBB\x95\xE4\xBA\x8B</name>\r\n\t\t<array>\r\n"
            "\t\t\t<booklist>\r\n\t\t\t\t<id>0</id>\r\n\t\t\t\t<name>n</name>\r\n\t\t\t\t<array>\r\n"
            "\t\t\t\t\t<bookmark>\r\n\t\t\t\t\t\t<id>0</id>\r\n\t\t\t\t\t\t<title>Q&amp;A &lt;tips&gt; \"q\" 'a'</title>\r\n"
            "\t\t\t\t\t</bookmark>\r\n\t\t\t\t</array>\r\n\t\t\t</booklist>\r\n\t\t</array>\r\n\t</dir>\r\n"
            "\t<dir>\r\n\t\t<id>1</id>\r\n\t\t<name>empty</name>\r\n\t\t<array/>\r\n\t</dir>\r\n</root>";
const std::string kPlainStore =
    kDecl + "\n<root><dir><id>0</id><name>\xE4\xBB\x95\xE4\xBA\x8B</name><array><booklist><id>0</id><name>n</name>"
            "<array><bookmark><id>0</id><title>Q&amp;A &lt;tips&gt; \"q\" 'a'</title></bookmark></array></booklist>"
            "</array></dir><dir><id>1</id><name>empty</name><array/></dir></root>\n";

}  // namespace

TEST(XmlLayout, BothLayoutsOfAStoreFileAreReproducedExactly)
{
    struct Case {
        const char* name;
        std::string input;
    } cases[] = {
        {"indented", kIndentedStore},
        {"plain", kPlainStore},
        {"plain with a byte-order mark", "\xEF\xBB\xBF" + kPlainStore},
        {"empty arrays written open", std::string(kPlainStore).replace(kPlainStore.find("<array/>"), 8,
                                                                       "<array>\r\n\t\t</array>")},
    };
    for (const Case& c : cases) {
        pugi::xml_document doc;
        ASSERT_TRUE(Parse(doc, c.input)) << c.name;
        EXPECT_EQ(Indented(doc), kIndentedStore) << c.name;
        EXPECT_EQ(Plain(doc), kPlainStore) << c.name;
    }
}

TEST(XmlLayout, ValuesKeepEveryByteInBothLayouts)
{
    // Each value as it stands in the file, which both layouts write back.
    const char* values[] = {
        "a &amp; &amp; b",
        "&lt;a&gt; &lt;b&gt;",
        "  lead and trail  ",
        "\xE8\xA1\xA8\xE3\x82\xBD\xE8\x83\xBD\xE3\x83\x9D",   // 表ソ能ポ: 5C and 7C trail bytes in 932
        "line1&#13;\nline2&#13;\n",
        "tab\there \"quoted\" 'single'",
        "&amp;lt; is text",
    };
    for (const char* value : values) {
        std::string input = kDecl + "\n<root><dir><name>" + value + "</name></dir></root>\n";
        pugi::xml_document doc;
        ASSERT_TRUE(Parse(doc, input)) << value;
        EXPECT_EQ(Plain(doc), input) << value;
        EXPECT_EQ(Indented(doc),
                  kDecl + "\r\n<root>\r\n\t<dir>\r\n\t\t<name>" + value + "</name>\r\n\t</dir>\r\n</root>")
            << value;
    }
}

TEST(XmlLayout, ReferencesAndCrLfReadAsTheirCharacters)
{
    pugi::xml_document doc;
    ASSERT_TRUE(Parse(doc, "<root><v>a &amp; &amp; b</v><v>x&#13;\r\ny</v><v>\r\n  \t</v><v>&#x41;&#66;</v></root>"));
    pugi::xml_node v = doc.document_element().first_child();
    EXPECT_STREQ(v.child_value(), "a & & b");
    EXPECT_STREQ(v.next_sibling().child_value(), "x\r\ny");
    // White-space-only text is dropped: it counts as no node at all.
    EXPECT_FALSE(v.next_sibling().next_sibling().first_child());
    EXPECT_STREQ(v.next_sibling().next_sibling().next_sibling().child_value(), "AB");
}

TEST(XmlLayout, WhatOnlyThePlainLayoutKeeps)
{
    struct Case {
        const char* name;
        std::string input;
        std::string plain;
        std::string indented;
    } cases[] = {
        {"comments and instructions",
         kDecl + "\r\n<!-- head -->\r\n<?pi data?>\r\n<root><a>x<!-- in --></a><!-- between --><b/></root>",
         kDecl + "\n<!-- head -->\n<?pi data?>\n<root><a>x<!-- in --></a><!-- between --><b/></root>\n",
         kDecl + "\r\n<root>\r\n\t<a>x</a>\r\n\t<b/>\r\n</root>"},
        {"CDATA", "<root><t><![CDATA[<x> & y]]></t></root>", "<root><t><![CDATA[<x> & y]]></t></root>\n",
         kDecl + "\r\n<root>\r\n\t<t>&lt;x&gt; &amp; y</t>\r\n</root>"},
        {"another declaration", "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?><root/>",
         "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n<root/>\n", kDecl + "\r\n<root/>"},
        {"no declaration", "<root><a/></root>", "<root><a/></root>\n", kDecl + "\r\n<root>\r\n\t<a/>\r\n</root>"},
        {"another encoding", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><root/>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root/>\n", kDecl + "\r\n<root/>"},
        {"document type", kDecl + "<!DOCTYPE root><root/>", kDecl + "\n<!DOCTYPE root>\n<root/>\n",
         kDecl + "\r\n<root/>"},
        {"attributes", "<root><e a=\"1 &amp; &quot;2&quot;\" b='&lt;'/></root>",
         "<root><e a=\"1 &amp; &quot;2&quot;\" b=\"&lt;\"/></root>\n",
         kDecl + "\r\n<root>\r\n\t<e a=\"1 &amp; &quot;2&quot;\" b=\"&lt;\"/>\r\n</root>"},
        // Layout white space inside text would become part of the value.
        {"text beside elements", "<root><name>a<b>x</b>c</name></root>", "<root><name>a<b>x</b>c</name></root>\n",
         kDecl + "\r\n<root>\r\n\t<name>a<b>x</b>c</name>\r\n</root>"},
    };
    for (const Case& c : cases) {
        pugi::xml_document doc;
        ASSERT_TRUE(Parse(doc, c.input)) << c.name;
        EXPECT_EQ(Plain(doc), c.plain) << c.name;
        EXPECT_EQ(Indented(doc), c.indented) << c.name;
    }
}

TEST(XmlLayout, EmptyElementsAndEmptyTexts)
{
    pugi::xml_document doc;
    ASSERT_TRUE(Parse(doc, "<root><a></a></root>"));
    pugi::xml_node a = doc.document_element().first_child();
    EXPECT_EQ(Plain(doc), "<root><a/></root>\n");
    // A text set empty by the program: the plain layout shows it open.
    a.append_child(pugi::node_pcdata);
    EXPECT_EQ(Plain(doc), "<root><a></a></root>\n");
    EXPECT_EQ(Indented(doc), kDecl + "\r\n<root>\r\n\t<a/>\r\n</root>");
    a.first_child().set_value("   ");
    EXPECT_EQ(Indented(doc), kDecl + "\r\n<root>\r\n\t<a>   </a>\r\n</root>");
}

TEST(XmlLayout, FaultsLeaveNoDocumentAndSayWhere)
{
    struct Case {
        std::string input;
        std::string fault;
    } cases[] = {
        {"", "No document element found (status 16) at line 1, column 1"},
        {kDecl + "\r\n<root>\r\n\t<dir>\r\n</root>", "Start-end tags mismatch (status 14) at line 4, column 3"},
        {kDecl + "\n<root><dir>", "Start-end tags mismatch (status 14) at line 2"},
        {"<root/><root/>", "More than one root element at line 1, column 9"},
        {Nested(257), "Elements nested deeper than 256 at line 1, column 770"},
        {"<root a=1/>", "Error parsing element attribute (status 12) at line 1, column 9"},
    };
    for (const Case& c : cases) {
        pugi::xml_document doc;
        std::string fault;
        EXPECT_FALSE(Parse(doc, c.input, &fault)) << c.input;
        EXPECT_EQ(fault.compare(0, c.fault.size(), c.fault), 0) << fault;
        EXPECT_FALSE(doc.first_child()) << c.input;
    }
}

TEST(XmlLayout, NestingUpTo256LevelsIsRead)
{
    pugi::xml_document doc;
    ASSERT_TRUE(Parse(doc, Nested(256) + "<!-- after -->"));
    EXPECT_EQ(Plain(doc), Nested(256).replace(255 * 3, 7, "<e/>") + "\n<!-- after -->\n");
}

TEST(XmlLayout, TextPositionCountsLinesAndBytes)
{
    const std::string text = "ab\ncd\n\xE8\xA1\xA8x";
    EXPECT_EQ(TextPosition(text.data(), text.size(), 0), "line 1, column 1");
    EXPECT_EQ(TextPosition(text.data(), text.size(), 2), "line 1, column 3");
    EXPECT_EQ(TextPosition(text.data(), text.size(), 3), "line 2, column 1");
    EXPECT_EQ(TextPosition(text.data(), text.size(), 9), "line 3, column 4");
    EXPECT_EQ(TextPosition(text.data(), text.size(), 99), "line 3, column 5");
}

TEST(XmlLayout, LongOutputArrivesWholeAndARefusalStopsTheWrite)
{
    std::string big(200 * 1024, 'v');
    pugi::xml_document doc;
    ASSERT_TRUE(Parse(doc, "<root><a>" + big + "</a><b>&amp;</b></root>"));
    size_t pieces = 0;
    std::string out;
    ASSERT_TRUE(WritePlainLayout(doc, [&](const char* data, size_t size) {
        ++pieces;
        out.append(data, size);
        return true;
    }));
    EXPECT_EQ(out, "<root><a>" + big + "</a><b>&amp;</b></root>\n");
    EXPECT_LE(pieces, 4u);
    size_t calls = 0;
    EXPECT_FALSE(WriteIndentedLayout(doc, [&](const char*, size_t) {
        ++calls;
        return false;
    }));
    EXPECT_EQ(calls, 1u);
}
