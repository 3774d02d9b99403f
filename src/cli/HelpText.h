#pragma once
#include <QString>

// Help texts that read well at 80 columns.
constexpr int HelpWidth = 79;

// Wraps text at blanks into lines of at most width characters; every line but the first
// starts with indent blanks, the first is taken to start at firstColumn (after a head
// the caller prints). Line breaks in text start a new paragraph.
QString WrapText(const QString &text, int indent, int width = HelpWidth, int firstColumn = 0);

// Qt's help with its usage line replaced by usage (Qt's names only the executable).
QString WithUsageLine(const QString &qtHelp, const QString &usage);
