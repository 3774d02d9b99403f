#include "core/Conversions.h"

#include "BvlVersion.h"
#include "core/BvlError.h"

#include <limits>

qint32 HexToLong(const QString &text)
{
    // Each digit is added at its place value from the left, and the checks run in the
    // order below, so the error number depends on which fault comes first: "G1" is 513,
    // "1 2" is 6, and "80000000G" overflows (6) before its "G" is seen.
    constexpr qint64 Max = std::numeric_limits<qint32>::max();
    const qsizetype n = text.size();
    qint64 result = 0;
    for (qsizetype i = 0; i < n; ++i) {
        char16_t code = text[i].unicode();
        if (code >= u'a' && code <= u'f')
            code -= u'a' - u'A';
        // Every other character keeps a code above "F" after upper-casing, so needs no mapping.
        if (code > u'F' || (code >= u':' && code <= u'@'))
            throw BvlError(ErrNo::BadHexDigit);
        if (code < u'0')
            throw BvlError(ErrNo::Overflow);
        const int digit = code >= u'A' ? code - u'A' + 10 : code - u'0';
        if (digit == 0)
            continue;   // leading zeros add nothing, however many there are
        const qsizetype place = n - 1 - i;
        if (place >= 8)   // 16^8 already exceeds the signed 32-bit range
            throw BvlError(ErrNo::Overflow);
        result += qint64(digit) << (4 * place);
        if (result > Max)
            throw BvlError(ErrNo::Overflow);
    }
    return static_cast<qint32>(result);
}

int BitTextToValue(const QString &text)
{
    if (text.size() != 8)
        return -1;
    int result = 0;
    for (QChar c : text) {
        if (c != u'0' && c != u'1')
            return -1;
        result = result * 2 + (c == u'1' ? 1 : 0);
    }
    return result;
}

QString ValueToBitText(qint32 value)
{
    if (value < 0 || value > 255)
        throw BvlError(ErrNo::BitTextTooLarge);
    return QStringLiteral("%1").arg(value, 8, 2, QLatin1Char('0'));
}

QString VersionString(int major, int minor, int revision)
{
    // A one-digit minor number other than 0 is padded: 1.01.500, but 1.0.7 and 1.12.7.
    const QString minorText = (minor >= 1 && minor <= 9) ? QStringLiteral("0%1").arg(minor) : QString::number(minor);
    return QStringLiteral("%1.%2.%3_Tavik").arg(major).arg(minorText).arg(revision);
}

QString VersionString()
{
    return VersionString(BVL_VERSION_MAJOR, BVL_VERSION_MINOR, BVL_VERSION_REVISION);
}

QString HexText16(qint16 value)
{
    return QString::number(static_cast<quint16>(value), 16).toUpper();
}

QString HexText32(qint32 value)
{
    return QString::number(static_cast<quint32>(value), 16).toUpper();
}

qint16 HexToInt16(const QString &text)
{
    // Four hexadecimal digits are the 16 bits as HexText16 shows them: 8000 to FFFF are
    // the negative numbers, so a header read as -1 and shown as FFFF is saved as -1 again.
    const qint32 value = HexToLong(text);
    if (value > std::numeric_limits<quint16>::max())
        throw BvlError(ErrNo::Overflow);
    return static_cast<qint16>(static_cast<quint16>(value));
}

qint32 DecimalToLong(QStringView text)
{
    const QStringView t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    if (i == t.size())
        throw BvlError(ErrNo::TypeMismatch);
    // Checked over the whole text first, so "99999999999x" is not a number (13), not an overflow.
    for (qsizetype k = i; k < t.size(); ++k) {
        if (t[k] < u'0' || t[k] > u'9')
            throw BvlError(ErrNo::TypeMismatch);
    }
    const qint64 limit =
        negative ? -qint64(std::numeric_limits<qint32>::min()) : qint64(std::numeric_limits<qint32>::max());
    qint64 magnitude = 0;
    for (; i < t.size(); ++i) {
        magnitude = magnitude * 10 + (t[i].unicode() - u'0');
        if (magnitude > limit)
            throw BvlError(ErrNo::Overflow);
    }
    return static_cast<qint32>(negative ? -magnitude : magnitude);
}
