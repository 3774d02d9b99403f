#pragma once
#include <QString>
#include <QtGlobal>

// A number the author typed into a box of the setting dialog, as a 32-bit signed integer.
// Whole numbers are read as everywhere else; a number with a fraction, written in the
// user's regional format, is rounded to the nearest integer, halves to the even one
// (2.5 gives 2, 3.5 gives 4). Throws BvlError 13 for a text that is not a number (empty
// included) and 6 for a number that does not fit 32 bits.
qint32 TypedNumberToLong(const QString &text);
