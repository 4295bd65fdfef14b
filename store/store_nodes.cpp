#include "store/store_nodes.h"

void AppendContainer(Node parent, const char* tag, long id, const std::string& name)
{
    Node node = AppendElement(parent, tag);
    std::string idText = DecimalText(id);
    AppendElement(node, "id", &idText);
    AppendElement(node, "name", &name);
    AppendElement(node, "array");
}

std::vector<ValueField> EntryValues(const EntryRecord& record, long id)
{
    return {
        {"id", DecimalText(id)},
        {"count", FieldText(record.count)},
        {"valid", FieldText(record.valid)},
        {"date", FieldText(record.date)},
        {"access", FieldText(record.access)},
        {"update", FieldText(record.update)},
        {"list", FieldText(record.list)},
        {"title", FieldText(record.title)},
        {"comment", FieldText(record.comment)},
    };
}

void AppendBookmark(Node entries, const EntryRecord& record, long id)
{
    Node bookmark = AppendElement(entries, "bookmark");
    for (const ValueField& value : EntryValues(record, id))
        AppendElement(bookmark, value.name, &value.text);
}
