// The import's one write: what a merge plan adds, appended to the store.
#include <pugixml.hpp>

#include "store/bookmark_merge.h"
#include "store/dom_nodes.h"
#include "store/store_nodes.h"
#include "store/text_convert.h"
#include "store/xml_store.h"

namespace {

// The name of a folder or note as the snapshot reads it.
std::string SnapshotName(Node container)
{
    Node name = ChildNamed(container, "name");
    if (!name)
        return std::string();
    const std::string text = TextOf(name);
    char cut[sizeof FolderRecord::name];
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

}  // namespace

int CmyXml::ImportEntries(const MergePlan& plan, HWND owner)
{
    if (plan.added == 0)
        return 1;
    BackupStore();
    return RunOperation(owner, true, [&](pugi::xml_document* doc) {
        Node root = RootOf(doc);
        EntryRecord record;
        for (const PlannedFolder& pf : plan.folders) {
            Node folder = PlannedContainer(root, "dir", pf.position, pf.created, pf.name);
            Node notes = ArrayOf(folder);
            if (!notes)
                return 0;
            for (const PlannedNote& pn : pf.notes) {
                Node entries = ArrayOf(PlannedContainer(notes, "booklist", pn.position, pn.created, pn.name));
                if (!entries)
                    return 0;
                const long count = ChildCount(entries);
                if (count + static_cast<long>(pn.entries.size()) > kMaxChildren)
                    return 0;
                for (size_t e = 0; e < pn.entries.size(); ++e) {
                    const long id = count + static_cast<long>(e);
                    FillEntryRecord(pn.entries[e], pf.position, pn.position, static_cast<int>(id), record);
                    AppendBookmark(entries, record, id);
                }
            }
        }
        // A failed write brings the backup back; the box about a title's
        // conversion would not fit an import.
        return WriteIndented(doc, owner, nullptr);
    });
}
