#include "cli/LongOutput.h"

void WriteLongText(QTextStream &out, QStringView text)
{
    for (qsizetype at = 0; at < text.size();) {
        qsizetype length = qMin(OutputPieceChars, text.size() - at);
        // A surrogate pair stays in one piece.
        if (at + length < text.size() && text.at(at + length - 1).isHighSurrogate())
            ++length;
        out << text.mid(at, length);
        at += length;
    }
}
