#include "seem/values/OwnedBytes.h"

#include "core/Conversions.h"

OwnedSpan OwnedSpanOf(const SettingStruct &setting)
{
    OwnedSpan span;
    span.offset = setting.Offset;
    const qint64 fieldSize = qMax<qint64>(0, setting.MaxStringLength);
    switch (SettingType(setting.Type)) {
    case SettingType::Checkbox:
    case SettingType::ValueList:
        span.size = 1;
        span.mask = setting.BitMask;
        break;
    case SettingType::Int8:
        span.size = 1;
        break;
    case SettingType::AnsiString:
        span.size = fieldSize;
        break;
    case SettingType::UnicodeString:
        span.size = fieldSize / 2 * 2;   // whole 16-bit units only
        break;
    default:
        span.size = 0;
        break;
    }
    return span;
}

QString OwnedBitsText(const OwnedSpan &span)
{
    if (span.size == 0)
        return QStringLiteral("-");
    if (span.size == 1)
        return ValueToBitText(span.mask);
    return QStringLiteral("%1 bytes").arg(span.size);
}

bool SpanInsideImage(const OwnedSpan &span, qint64 imageSize)
{
    return span.offset >= 0 && span.end() <= imageSize;
}
