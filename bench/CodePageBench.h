#pragma once
#include "GeneratedDocument.h"
#include "ResultTable.h"

// Decoding a setting file's texts in a code page: the hand-written Windows-1252 decoder and
// the tables made from Qt's converters against Qt's converters themselves, text by text.
void AddCodePageRows(ResultTable &table, const GeneratedDocument &doc, int runs);
