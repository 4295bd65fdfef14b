#pragma once
#include <string>

#include "store/dom_nodes.h"

// Appends a folder ("dir") or a note ("booklist") as the store holds them:
// id, name (document text), empty array, in this order.
void AppendContainer(Node parent, const char* tag, long id, const std::string& name);
