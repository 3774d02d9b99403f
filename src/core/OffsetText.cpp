#include "core/OffsetText.h"

#include <cstdio>

namespace {
QString Hex(qint64 offset)
{
    return QStringLiteral("0x") + QString::number(offset, 16).toUpper();
}
}   // namespace

void AppendOffsetText(QString &text, qint64 offset)
{
    if (offset < 0) {   // only a damaged setting file has one: "-16 (0x-10)"
        text += QString::number(offset) + QLatin1String(" (") + Hex(offset) + QLatin1Char(')');
        return;
    }
    char written[48];
    const int length = std::snprintf(written, sizeof written, "%lld (0x%llX)", static_cast<long long>(offset),
                                     static_cast<unsigned long long>(offset));
    text += QLatin1String(written, length);
}

QString OffsetText(qint64 offset)
{
    QString text;
    AppendOffsetText(text, offset);
    return text;
}

QString OffsetRangeText(qint64 first, qint64 last)
{
    if (first == last)
        return OffsetText(first);
    return QStringLiteral("%1-%2 (%3-%4)").arg(first).arg(last).arg(Hex(first), Hex(last));
}

QString ValueNumberText(qint64 value)
{
    return Hex(value) + QLatin1String(" (") + QString::number(value) + QLatin1Char(')');
}
