#pragma once
#include <windows.h>

// The mingw headers declare these interface ids but no library defines
// them, so the store keeps its own copies under its own names.
extern const IID kIidMxWriter;         // IMXWriter
extern const IID kIidSaxXmlReader;     // ISAXXMLReader
extern const IID kIidSaxContentHandler;  // ISAXContentHandler
