#pragma once
#include <QString>
#include <QtGlobal>

// Hexadecimal text (upper or lower case digits, no prefix, no sign) to a signed 32-bit
// number. Empty text gives 0. Throws BvlError 513 for a character above "9" that is no
// hex digit, 6 for a character below "0" or a result above 7FFFFFFF.
qint32 HexToLong(const QString &text);

// Eight "0"/"1" characters, bit 7 first, to 0..255; -1 for anything else. Never throws.
int BitTextToValue(const QString &text);

// 0..255 to its eight-character bit text. Throws BvlError 516 for 256 and above.
// Negative values are refused with 516 as well, since they have no bit text.
QString ValueToBitText(qint32 value);

// "1.01.500_Tavik" for this release; built from the project version.
QString VersionString();
QString VersionString(int major, int minor, int revision);

// Hexadecimal for display: upper case, no prefix, no leading zeros;
// a negative value as its two's complement (four digits for 16 bits, eight for 32).
QString HexText16(qint16 value);
QString HexText32(qint32 value);

// HexToLong narrowed to a signed 16-bit field, 8000 to FFFF read as the negative numbers
// they show (FFFF is -1); throws 6 above FFFF.
qint16 HexToInt16(const QString &text);

// Decimal text to a signed 32-bit integer, as setting files and boxes hold it.
// Throws 13 for an empty text or one that is not a number, 6 when it does not fit.
qint32 DecimalToLong(QStringView text);
