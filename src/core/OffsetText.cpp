#include "core/OffsetText.h"

namespace {
QString Hex(qint64 offset)
{
    return QStringLiteral("0x") + QString::number(offset, 16).toUpper();
}
}

QString OffsetText(qint64 offset)
{
    return QString::number(offset) + QLatin1String(" (") + Hex(offset) + QLatin1Char(')');
}

QString OffsetRangeText(qint64 first, qint64 last)
{
    if (first == last)
        return OffsetText(first);
    return QStringLiteral("%1-%2 (%3-%4)").arg(first).arg(last).arg(Hex(first), Hex(last));
}
