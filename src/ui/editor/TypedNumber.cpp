#include "ui/editor/TypedNumber.h"

#include "core/BvlError.h"
#include "core/Conversions.h"

#include <QLocale>

#include <cmath>
#include <limits>

qint32 TypedNumberToLong(const QString &text)
{
    // Whole numbers first, so that they read the same whatever the regional format.
    try {
        return DecimalToLong(text);
    } catch (const BvlError &e) {
        if (e.number() != ErrNo::TypeMismatch)
            throw;
    }
    bool ok = false;
    const double number = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        throw BvlError(ErrNo::TypeMismatch);
    const double rounded = std::nearbyint(number);   // the default rounding mode: halves to even
    if (rounded < double(std::numeric_limits<qint32>::min()) || rounded > double(std::numeric_limits<qint32>::max()))
        throw BvlError(ErrNo::Overflow);
    return qint32(rounded);
}
