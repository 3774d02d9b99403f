#pragma once
#include <QString>

// How every window and the command line write a byte offset into a SEEM image: decimal,
// the hexadecimal in parentheses ("16 (0x10)"), so that a number read in one place can be
// found in another, in the setting dialog's decimal or hexadecimal box alike.

// "16 (0x10)".
QString OffsetText(qint64 offset);
// The same text appended to text, without a string of its own (for reports of thousands).
void AppendOffsetText(QString &text, qint64 offset);

// "16 (0x10)" for one byte, "16-23 (0x10-0x17)" for a field from first to last.
QString OffsetRangeText(qint64 first, qint64 last);

// A number that is a value rather than an offset, hexadecimal first: "0x77 (119)".
QString ValueNumberText(qint64 value);
