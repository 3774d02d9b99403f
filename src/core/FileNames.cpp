#include "core/FileNames.h"

#include <QFile>

namespace {

constexpr char16_t EscapeBase = 0xDC00;   // byte b (0x80..0xFF) is kept as EscapeBase + b

// A low surrogate U+DC80..U+DCFF that is not the second half of a pair.
bool IsEscapedByte(const QString &name, qsizetype at)
{
    const char16_t unit = name.at(at).unicode();
    return unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF && (at == 0 || !name.at(at - 1).isHighSurrogate());
}

bool IsContinuation(quint8 byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at at, or 0 when the byte there starts none
// (overlong forms, surrogates and code points past U+10FFFF are not well formed).
int SequenceLength(const QByteArray &bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return quint8(bytes.at(i)); };
    const quint8 lead = byte(at);
    const qsizetype left = bytes.size() - at;
    if (lead < 0x80)
        return 1;
    int length = 0;
    quint8 low = 0x80;
    quint8 high = 0xBF;   // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if (!IsContinuation(byte(at + i)))
            return 0;
    return length;
}

}   // namespace

QString FileNameFromNative(const QByteArray &native)
{
    QString name;
    name.reserve(native.size());
    qsizetype at = 0;
    while (at < native.size()) {
        const int length = SequenceLength(native, at);
        if (length == 0) {
            name.append(QChar(char16_t(EscapeBase + quint8(native.at(at)))));
            ++at;
            continue;
        }
        name.append(QString::fromUtf8(native.constData() + at, length));
        at += length;
    }
    return name;
}

QByteArray NativeFileName(const QString &name)
{
    QByteArray native;
    qsizetype start = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!IsEscapedByte(name, i))
            continue;
        native += name.mid(start, i - start).toUtf8();
        native += char(name.at(i).unicode() - EscapeBase);
        start = i + 1;
    }
    if (start == 0)
        return QFile::encodeName(name);
    return native + name.mid(start).toUtf8();
}

QStringList NativeArguments(int argc, const char *const *argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << FileNameFromNative(QByteArray(argv[i]));
    return arguments;
}
