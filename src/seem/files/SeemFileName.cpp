#include "seem/files/SeemFileName.h"

#include "core/BvlError.h"
#include "core/Conversions.h"

#include <QStringList>

#include <limits>

namespace {

// One hexadecimal piece of the name as a signed 16-bit number; false when it is not one.
// HexToLong never returns a negative number, so only the upper bound needs a check.
bool ParseHexPiece(const QString &piece, qint16 &number)
{
    qint32 value = 0;
    try {
        value = HexToLong(piece);
    } catch (const BvlError &) {
        return false;
    }
    if (value > std::numeric_limits<qint16>::max())
        return false;
    number = static_cast<qint16>(value);
    return true;
}

}   // namespace

bool ParseSeemFileName(const QString &fileName, SeemNameNumbers &numbers)
{
    const QStringList pieces = fileName.split(QLatin1Char('_'));
    if (pieces.size() < 2)
        return false;
    // The record number is the first four characters of the second piece, so that an
    // extension or a suffix behind it ("0001.seem", "00011.bin") does not count.
    SeemNameNumbers found;
    if (!ParseHexPiece(pieces[0], found.seemNr) || !ParseHexPiece(pieces[1].left(4), found.seemRec))
        return false;
    numbers = found;
    return true;
}
