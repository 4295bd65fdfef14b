#pragma once
#include <string>

#include <pugixml.hpp>

#include "store/xml_layout.h"

// Reading and writing the store file as a whole. Failures are told in the
// terms of the failure report (store_failure.h).

// Why a loaded document has no root element: the file cannot be read
// (source "CmyXml") or the XML library found a fault (source "pugixml",
// with its status text and the position).
struct LoadProblem {
    std::string source;
    std::string description;
};

// Reads the whole file at path and parses it into doc. A file that is
// missing, unreadable, empty or not well-formed leaves doc without a root
// element; problem then says why. options: as for ParseStoreBytes.
void LoadStoreDocument(const char* path, pugi::xml_document* doc, LoadProblem* problem,
                       unsigned options = kStoreParseOptions);

// Writes doc, indented or plain (xml_layout.h), to a new file at path,
// replacing one that is there. A failed write raises a StoreFailure with
// the system's code; what was written stays for the caller to remove.
void WriteStoreDocument(const pugi::xml_document& doc, const char* path, bool indented);
