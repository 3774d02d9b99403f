#pragma once
#include <QStringView>
#include <QTextStream>

// Writes a long text, such as the report of a profile of every setting, in pieces: a
// stream takes a text whole into its buffer and converts it whole, which for megabytes
// of report costs the memory three more times over.
void WriteLongText(QTextStream &out, QStringView text);

// Characters written at a time: about what a stream buffers before it writes.
constexpr qsizetype OutputPieceChars = 16 * 1024;
