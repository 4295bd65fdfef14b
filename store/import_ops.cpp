// The import's one write: what a merge plan adds, appended to the store.
#include <cstdio>
#include <cstring>

#include <pugixml.hpp>

#include "app/ansi_text.h"
#include "store/import_plan.h"
#include "store/dom_nodes.h"
#include "store/store_failure.h"
#include "store/store_nodes.h"
#include "store/text_convert.h"
#include "store/xml_layout.h"
#include "store/xml_store.h"

namespace {

// The name of a folder or note as the snapshot reads it.
std::string SnapshotName(Node container)
{
    Node name = ChildNamed(container, "name");
    if (!name)
        return std::string();
    const std::string text = TextOf(name);
    char cut[kNameSize];
    Utf8ToAnsiField(text.data(), text.size(), cut, sizeof cut);
    return cut;
}

// The plan's folder or note in parent: the one at its position when the
// names agree, or a new one when the plan makes it right after the last.
// Empty when the file does not match the plan.
Node PlannedContainer(Node parent, const char* tag, int position, bool created, const std::string& name)
{
    if (created) {
        if (ChildCount(parent) != position)
            return Node();
        AppendContainer(parent, tag, position, AnsiToDocumentText(name.c_str()));
        return parent.last_child();
    }
    Node node = ChildAt(parent, position);
    return node && SnapshotName(node) == name ? node : Node();
}

// <name>value</name>: the program's text cut to its field's width, in the
// document's text, escaped as the store's writer escapes it, so that it
// parses to exactly the value a text node of it would hold.
void AppendValue(std::string& out, const char* name, const std::string& ansi, size_t width)
{
    out += '<';
    out += name;
    out += '>';
    const size_t length = CutAnsiLength(ansi.data(), strnlen(ansi.c_str(), ansi.size()), width - 1);
    bool ascii = true;
    for (size_t i = 0; i < length && ascii; ++i)
        ascii = static_cast<unsigned char>(ansi[i]) < 0x80;
    // Most values are plain ASCII: converted only when they are not.
    const std::string converted = ascii ? std::string() : AnsiToDocumentText(ansi.substr(0, length).c_str());
    const char* text = ascii ? ansi.data() : converted.data();
    const size_t size = ascii ? length : converted.size();
    size_t plain = 0;   // the start of the run not yet copied
    for (size_t i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c != '&' && c != '<' && c != '>')
            continue;
        const char* escape = c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '\r' ? "&#13;"
                           : c == '\t' || c == '\n' ? nullptr : "?";
        if (escape == nullptr)
            continue;
        out.append(text + plain, i - plain);
        out += escape;
        plain = i + 1;
    }
    out.append(text + plain, size - plain);
    out += "</";
    out += name;
    out += '>';
}

// A note's new entries as store XML, from id `first` on: values as
// FillEntryRecord gives them.
std::string EntriesText(const std::vector<ImportedEntry>& entries, long first)
{
    std::string out;
    out.reserve(entries.size() * 400);
    for (size_t e = 0; e < entries.size(); ++e) {
        const ImportedEntry& entry = entries[e];
        char id[64];
        snprintf(id, sizeof id, "<bookmark><id>%ld</id><count>1</count><valid>1</valid>",
                 first + static_cast<long>(e));
        out += id;
        AppendValue(out, "date", entry.date, sizeof EntryRecord::date);
        AppendValue(out, "access", entry.access, sizeof EntryRecord::access);
        out += "<update>-</update>";
        AppendValue(out, "list", entry.address, kAddressSize);
        AppendValue(out, "title", entry.title, kTitleSize);
        AppendValue(out, "comment", entry.comment, kCommentSize);
        out += "</bookmark>";
    }
    return out;
}

}  // namespace

int CmyXml::ImportEntries(const MergePlan& plan, HWND owner)
{
    // Folders and notes without links are worth a write as well.
    if (plan.folders.empty())
        return 1;
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        for (const PlannedFolder& pf : plan.folders) {
            Node notes = ArrayOf(PlannedContainer(root, "dir", pf.position, pf.created, pf.name));
            if (!notes)
                return 0;
            for (const PlannedNote& pn : pf.notes) {
                Node entries = ArrayOf(PlannedContainer(notes, "booklist", pn.position, pn.created, pn.name));
                if (!entries)
                    return 0;
                const long count = ChildCount(entries);
                if (count + static_cast<long>(pn.entries.size()) > kMaxChildren)
                    return 0;
                // Parsed in one go: tens of thousands of entries appended
                // node by node would take several times the whole write.
                // White space is kept, as a text node of it would be.
                const std::string text = EntriesText(pn.entries, count);
                const pugi::xml_parse_result parsed = entries.append_buffer(
                    text.data(), text.size(), kStoreParseOptions | pugi::parse_ws_pcdata, pugi::encoding_utf8);
                if (!parsed)
                    RaiseStoreFailure(E_FAIL, __LINE__, parsed.description(), "pugixml");
            }
        }
        // A failed write brings the backup back; the box about a title's
        // conversion would not fit an import.
        return WriteIndented(doc, owner, nullptr);
    }, true);
}
