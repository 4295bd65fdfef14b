#include "support/store_expect.h"

#include <windows.h>

#include <cstdio>
#include <sstream>

#include "store/xml_store.h"
#include "support/temp_folder.h"

namespace {

const char* const kValueNames[9] = {"id", "count", "valid", "date", "access",
                                    "update", "list", "title", "comment"};

std::vector<const std::string*> ValuesOf(const ExpectedEntry& e)
{
    return {&e.id, &e.count, &e.valid, &e.date, &e.access, &e.update, &e.list, &e.title, &e.comment};
}

std::string Escape(const std::string& utf8)
{
    std::string out;
    for (char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

// ---- A strict reader for the store format: elements without attributes,
// text, the declaration. It keeps the white space between tags to judge
// the layout.

struct XmlNode {
    std::string name;
    std::string text;          // decoded UTF-8, only for elements without children
    std::vector<XmlNode> children;
};

class StrictReader {
public:
    explicit StrictReader(const std::string& bytes) : s_(bytes) {}

    bool Read(XmlNode* root)
    {
        if (s_.compare(0, 3, "\xEF\xBB\xBF") == 0)
            pos_ = 3;
        if (s_.compare(pos_, 5, "<?xml") == 0) {
            size_t end = s_.find("?>", pos_);
            if (end == std::string::npos)
                return Fail("unterminated declaration");
            pos_ = end + 2;
            std::string gap = TakeSpace();
            indented_ = indented_ && gap == "\r\n";
        } else {
            indented_ = false;
        }
        if (!ReadElement(root, 0))
            return false;
        TakeSpace();
        if (pos_ != s_.size())
            return Fail("content after the root element");
        return true;
    }

    const std::string& Error() const { return error_; }
    StoreLayout Layout() const
    {
        if (indented_)
            return StoreLayout::Indented;
        return compact_ ? StoreLayout::Compact : StoreLayout::Other;
    }

private:
    bool Fail(const std::string& why)
    {
        if (error_.empty())
            error_ = why + " at byte " + std::to_string(pos_);
        return false;
    }

    std::string TakeSpace()
    {
        size_t start = pos_;
        while (pos_ < s_.size() && strchr(" \t\r\n", s_[pos_]) != nullptr)
            ++pos_;
        return s_.substr(start, pos_ - start);
    }

    void JudgeGap(const std::string& gap, size_t depth)
    {
        if (gap != "\r\n" + std::string(depth, '\t'))
            indented_ = false;
        if (!gap.empty())
            compact_ = false;
    }

    bool ReadName(std::string* name)
    {
        size_t start = pos_;
        while (pos_ < s_.size() && (isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_'))
            ++pos_;
        *name = s_.substr(start, pos_ - start);
        return !name->empty() || Fail("missing element name");
    }

    bool Decode(const std::string& raw, std::string* out)
    {
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '&') {
                *out += raw[i];
                continue;
            }
            size_t end = raw.find(';', i);
            if (end == std::string::npos)
                return Fail("bad reference");
            std::string ref = raw.substr(i + 1, end - i - 1);
            i = end;
            if (ref == "amp") *out += '&';
            else if (ref == "lt") *out += '<';
            else if (ref == "gt") *out += '>';
            else if (ref == "quot") *out += '"';
            else if (ref == "apos") *out += '\'';
            else if (!ref.empty() && ref[0] == '#') {
                unsigned long code = ref.size() > 1 && ref[1] == 'x' ? strtoul(ref.c_str() + 2, nullptr, 16)
                                                                      : strtoul(ref.c_str() + 1, nullptr, 10);
                wchar_t w[2] = {static_cast<wchar_t>(code), 0};
                char utf8[8] = {};
                WideCharToMultiByte(CP_UTF8, 0, w, 1, utf8, sizeof utf8, nullptr, nullptr);
                *out += utf8;
            } else {
                return Fail("unknown entity &" + ref + ";");
            }
        }
        return true;
    }

    bool ReadElement(XmlNode* node, size_t depth)
    {
        if (pos_ >= s_.size() || s_[pos_] != '<')
            return Fail("expected a start tag");
        ++pos_;
        if (!ReadName(&node->name))
            return false;
        if (s_.compare(pos_, 2, "/>") == 0) {
            pos_ += 2;
            return true;
        }
        if (pos_ >= s_.size() || s_[pos_] != '>')
            return Fail("attributes or a bad start tag in <" + node->name + ">");
        ++pos_;
        std::string raw;
        for (;;) {
            size_t lt = s_.find('<', pos_);
            if (lt == std::string::npos)
                return Fail("unterminated <" + node->name + ">");
            raw = s_.substr(pos_, lt - pos_);
            pos_ = lt;
            if (s_.compare(pos_, 2, "</") == 0)
                break;
            if (s_.compare(pos_, 4, "<!--") == 0 || s_.compare(pos_, 2, "<?") == 0 ||
                s_.compare(pos_, 2, "<!") == 0)
                return Fail("comment, instruction or declaration inside <" + node->name + ">");
            // A child element: what stands before it must be layout only.
            if (raw.find_first_not_of(" \t\r\n") != std::string::npos)
                return Fail("text beside child elements in <" + node->name + ">");
            JudgeGap(raw, depth + 1);
            node->children.emplace_back();
            if (!ReadElement(&node->children.back(), depth + 1))
                return false;
        }
        if (node->children.empty()) {
            if (!Decode(raw, &node->text))
                return false;
        } else {
            if (raw.find_first_not_of(" \t\r\n") != std::string::npos)
                return Fail("text beside child elements in <" + node->name + ">");
            JudgeGap(raw, depth);
        }
        pos_ += 2;
        std::string endName;
        if (!ReadName(&endName))
            return false;
        if (endName != node->name)
            return Fail("</" + endName + "> closes <" + node->name + ">");
        if (pos_ >= s_.size() || s_[pos_] != '>')
            return Fail("bad end tag");
        ++pos_;
        return true;
    }

    const std::string& s_;
    size_t pos_ = 0;
    std::string error_;
    bool indented_ = true;
    bool compact_ = true;
};

// ---- Comparison

class Comparer {
public:
    explicit Comparer(const StoreCheck& check) : check_(check) {}

    void Root(const XmlNode& root, const StoreTree& tree)
    {
        if (root.name != "root")
            Note("the document element is <" + root.name + ">");
        if (!SameCount("folders", "", root.children.size(), tree.size()))
            return;
        for (size_t f = 0; f < tree.size(); ++f) {
            std::string where = "folder " + std::to_string(f);
            const XmlNode& dir = root.children[f];
            const XmlNode* array = Container(dir, "dir", tree[f].id, tree[f].name, where);
            if (array == nullptr || !SameCount("notes", where, array->children.size(), tree[f].notes.size()))
                continue;
            for (size_t n = 0; n < tree[f].notes.size(); ++n) {
                const ExpectedNote& note = tree[f].notes[n];
                std::string noteWhere = where + " note " + std::to_string(n);
                const XmlNode* entries =
                    Container(array->children[n], "booklist", note.id, note.name, noteWhere);
                if (entries == nullptr ||
                    !SameCount("entries", noteWhere, entries->children.size(), note.entries.size()))
                    continue;
                for (size_t e = 0; e < note.entries.size(); ++e)
                    Entry(entries->children[e], note.entries[e], noteWhere + " entry " + std::to_string(e));
            }
        }
    }

    const std::string& Problems() const { return problems_; }

private:
    void Note(const std::string& problem)
    {
        if (problems_.size() < 4000)
            problems_ += "\n  " + problem;
    }

    bool SameCount(const char* what, const std::string& where, size_t actual, size_t expected)
    {
        if (actual == expected)
            return true;
        Note(where + (where.empty() ? "" : ": ") + std::to_string(actual) + " " + what + ", expected " +
             std::to_string(expected));
        return false;
    }

    void Value(const XmlNode& element, const std::string& expected, const std::string& where)
    {
        if (!element.children.empty()) {
            Note(where + ": <" + element.name + "> has child elements");
            return;
        }
        std::string actual = Utf8ToAnsi(element.text);
        if (actual != expected)
            Note(where + ": <" + element.name + "> is \"" + actual + "\", expected \"" + expected + "\"");
    }

    const XmlNode* Container(const XmlNode& node, const char* tag, const std::string& id,
                             const std::string& name, const std::string& where)
    {
        if (node.name != tag) {
            Note(where + ": <" + node.name + ">, expected <" + tag + ">");
            return nullptr;
        }
        const char* order[] = {"id", "name", "array"};
        if (node.children.size() != 3) {
            Note(where + ": " + std::to_string(node.children.size()) + " children, expected id, name, array");
            return nullptr;
        }
        for (int i = 0; i < 3; ++i) {
            if (node.children[i].name != order[i]) {
                Note(where + ": child " + std::to_string(i) + " is <" + node.children[i].name + ">, expected <" +
                     order[i] + ">");
                return nullptr;
            }
        }
        Value(node.children[0], id, where);
        Value(node.children[1], name, where);
        return &node.children[2];
    }

    void Entry(const XmlNode& node, const ExpectedEntry& expected, const std::string& where)
    {
        if (node.name != "bookmark") {
            Note(where + ": <" + node.name + ">, expected <bookmark>");
            return;
        }
        if (node.children.size() != 9) {
            Note(where + ": " + std::to_string(node.children.size()) + " values, expected 9");
            return;
        }
        auto values = ValuesOf(expected);
        for (int i = 0; i < 9; ++i) {
            const XmlNode* element = nullptr;
            if (check_.valueOrder) {
                if (node.children[i].name != kValueNames[i]) {
                    Note(where + ": value " + std::to_string(i) + " is <" + node.children[i].name +
                         ">, expected <" + kValueNames[i] + ">");
                    continue;
                }
                element = &node.children[i];
            } else {
                for (const XmlNode& child : node.children) {
                    if (child.name == kValueNames[i])
                        element = &child;
                }
                if (element == nullptr) {
                    Note(where + ": no <" + kValueNames[i] + ">");
                    continue;
                }
            }
            Value(*element, *values[i], where);
        }
    }

    StoreCheck check_;
    std::string problems_;
};

std::string Cut(const std::string& text, size_t width)
{
    size_t i = 0;
    while (i < text.size()) {
        size_t step = IsDBCSLeadByte(static_cast<BYTE>(text[i])) ? 2 : 1;
        if (i + step > width - 1)
            break;
        i += step;
    }
    return text.substr(0, i);
}

void CompareSnapshot(const std::vector<FolderRecord>& snapshot, const StoreTree& tree, std::string* problems)
{
    auto note = [&](const std::string& p) {
        if (problems->size() < 4000)
            *problems += "\n  snapshot: " + p;
    };
    if (snapshot.size() != tree.size()) {
        note(std::to_string(snapshot.size()) + " folders, expected " + std::to_string(tree.size()));
        return;
    }
    for (size_t f = 0; f < tree.size(); ++f) {
        const FolderRecord& folder = snapshot[f];
        std::string where = "folder " + std::to_string(f);
        if (folder.id != Cut(tree[f].id, 4) || folder.name != Cut(tree[f].name, 260))
            note(where + " reads id \"" + folder.id + "\" name \"" + folder.name + "\"");
        if (folder.notes.size() != tree[f].notes.size()) {
            note(where + " has " + std::to_string(folder.notes.size()) + " notes");
            continue;
        }
        for (size_t n = 0; n < folder.notes.size(); ++n) {
            const NoteRecord& record = folder.notes[n];
            const ExpectedNote& expected = tree[f].notes[n];
            std::string noteWhere = where + " note " + std::to_string(n);
            if (record.id != Cut(expected.id, 4) || record.name != Cut(expected.name, 260))
                note(noteWhere + " reads id \"" + record.id + "\" name \"" + record.name + "\"");
            if (record.entries.size() != expected.entries.size()) {
                note(noteWhere + " has " + std::to_string(record.entries.size()) + " entries");
                continue;
            }
            for (size_t e = 0; e < record.entries.size(); ++e) {
                const EntryRecord& r = record.entries[e];
                const ExpectedEntry& x = expected.entries[e];
                const char* actual[9] = {r.id, r.count, r.valid, r.date, r.access,
                                         r.update, r.list, r.title, r.comment};
                size_t widths[9] = {sizeof r.id, sizeof r.count, sizeof r.valid, sizeof r.date, sizeof r.access,
                                    sizeof r.update, kAddressSize, kTitleSize, kCommentSize};
                auto values = ValuesOf(x);
                for (int i = 0; i < 9; ++i) {
                    if (actual[i] != Cut(*values[i], widths[i]))
                        note(noteWhere + " entry " + std::to_string(e) + " reads " + kValueNames[i] + " \"" +
                             actual[i] + "\"");
                }
            }
        }
    }
}

}  // namespace

std::string AnsiToUtf8(const std::string& ansi)
{
    if (ansi.empty())
        return ansi;
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, &utf8[0], m, nullptr, nullptr);
    return utf8;
}

std::string Utf8ToAnsi(const std::string& utf8)
{
    if (utf8.empty())
        return utf8;
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
    int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), n, &ansi[0], m, nullptr, nullptr);
    return ansi;
}

ExpectedEntry SampleEntry(int id, const std::string& title)
{
    std::string ascii;
    for (char c : title) {
        if (isalnum(static_cast<unsigned char>(c)))
            ascii += c;
    }
    char date[16];
    snprintf(date, sizeof date, "2024/05/%02d", id % 28 + 1);
    return ExpectedEntry{std::to_string(id), "1", "1", date, date, "-",
                         "http://example.com/" + ascii + "?n=" + std::to_string(id), title, "-"};
}

std::vector<ExpectedEntry> SampleEntries(int n, const std::string& prefix)
{
    std::vector<ExpectedEntry> entries;
    for (int i = 0; i < n; ++i)
        entries.push_back(SampleEntry(i, prefix + std::to_string(i)));
    return entries;
}

ExpectedNote Note(int id, const std::string& name, std::vector<ExpectedEntry> entries)
{
    return ExpectedNote{std::to_string(id), name, std::move(entries)};
}

ExpectedFolder Folder(int id, const std::string& name, std::vector<ExpectedNote> notes)
{
    return ExpectedFolder{std::to_string(id), name, std::move(notes)};
}

StoreTree Renumbered(StoreTree tree)
{
    for (size_t f = 0; f < tree.size(); ++f) {
        tree[f].id = std::to_string(f);
        for (size_t n = 0; n < tree[f].notes.size(); ++n) {
            tree[f].notes[n].id = std::to_string(n);
            for (size_t e = 0; e < tree[f].notes[n].entries.size(); ++e)
                tree[f].notes[n].entries[e].id = std::to_string(e);
        }
    }
    return tree;
}

std::string StoreXml(const StoreTree& tree, const StoreXmlOptions& options)
{
    bool indented = options.layout == StoreLayout::Indented;
    std::string out = options.byteOrderMark ? "\xEF\xBB\xBF" : "";
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n";
    auto line = [&](int depth, const std::string& text) {
        if (indented && depth > 0)
            out += "\r\n" + std::string(static_cast<size_t>(depth), '\t');
        out += text;
    };
    auto leaf = [&](int depth, const char* name, const std::string& value) {
        line(depth, std::string("<") + name + ">" + Escape(AnsiToUtf8(value)) + "</" + name + ">");
    };
    line(0, "<root>");
    for (const ExpectedFolder& folder : tree) {
        line(1, "<dir>");
        leaf(2, "id", folder.id);
        leaf(2, "name", folder.name);
        line(2, "<array>");
        for (const ExpectedNote& note : folder.notes) {
            line(3, "<booklist>");
            leaf(4, "id", note.id);
            leaf(4, "name", note.name);
            line(4, "<array>");
            for (const ExpectedEntry& entry : note.entries) {
                line(5, "<bookmark>");
                auto values = ValuesOf(entry);
                for (int i = 0; i < 9; ++i) {
                    int k = options.reversedValues ? 8 - i : i;
                    leaf(6, kValueNames[k], *values[k]);
                }
                line(5, "</bookmark>");
            }
            line(4, "</array>");
            line(3, "</booklist>");
        }
        line(2, "</array>");
        line(1, "</dir>");
    }
    if (indented || tree.empty())
        out += "\r\n";
    out += "</root>";
    return out;
}

bool WriteStore(const std::string& path, const StoreTree& tree, const StoreXmlOptions& options)
{
    return WriteWholeFile(path, StoreXml(tree, options));
}

::testing::AssertionResult SnapshotHolds(const std::vector<FolderRecord>& snapshot, const StoreTree& tree)
{
    std::string problems;
    CompareSnapshot(snapshot, tree, &problems);
    if (!problems.empty())
        return ::testing::AssertionFailure() << "the snapshot differs:" << problems;
    return ::testing::AssertionSuccess();
}

StoreLayout LayoutOf(const std::string& bytes)
{
    StrictReader reader(bytes);
    XmlNode root;
    if (!reader.Read(&root))
        return StoreLayout::Other;
    return reader.Layout();
}

const char* LayoutName(StoreLayout layout)
{
    switch (layout) {
    case StoreLayout::Indented: return "indented";
    case StoreLayout::Compact: return "compact";
    default: return "other";
    }
}

::testing::AssertionResult StoreHolds(const std::string& path, const StoreTree& tree, const StoreCheck& check)
{
    std::string bytes;
    if (!ReadWholeFile(path, &bytes))
        return ::testing::AssertionFailure() << path << " cannot be read";
    StrictReader reader(bytes);
    XmlNode root;
    if (!reader.Read(&root))
        return ::testing::AssertionFailure() << path << " is not a store file: " << reader.Error();
    if (check.layout != StoreLayout::Other && reader.Layout() != check.layout)
        return ::testing::AssertionFailure() << path << " is " << LayoutName(reader.Layout()) << ", expected "
                                             << LayoutName(check.layout);
    Comparer comparer(check);
    comparer.Root(root, tree);
    std::string problems = comparer.Problems();

    CmyXml store;
    store.SetStorePath(path.c_str());
    store.ClearSnapshot();
    if (store.LoadSnapshot() != 1)
        problems += "\n  CmyXml cannot load it";
    CompareSnapshot(store.Snapshot(), tree, &problems);
    if (!problems.empty())
        return ::testing::AssertionFailure() << path << " differs:" << problems;
    return ::testing::AssertionSuccess();
}

std::string TodayText()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    snprintf(text, sizeof text, "%d/%02d/%02d", now.wYear, now.wMonth, now.wDay);
    return text;
}

::testing::AssertionResult StoreHoldsOnEitherDay(const std::string& path, const DayWindow& days,
                                                 const std::function<StoreTree(const std::string&)>& expected,
                                                 const StoreCheck& check)
{
    ::testing::AssertionResult first = StoreHolds(path, expected(days.before), check);
    if (first || days.after.empty() || days.after == days.before)
        return first;
    return StoreHolds(path, expected(days.after), check);
}
