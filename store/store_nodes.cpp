#include "store/store_nodes.h"

void AppendContainer(Node parent, const char* tag, long id, const std::string& name)
{
    Node node = AppendElement(parent, tag);
    std::string idText = DecimalText(id);
    AppendElement(node, "id", &idText);
    AppendElement(node, "name", &name);
    AppendElement(node, "array");
}
