#include "core/Cp1252.h"

#include "core/BvlError.h"

#include <QStringDecoder>

#include <array>

namespace {

// Characters of the bytes 0x80..0x9F. The five bytes the code page leaves unassigned
// keep the control character of the same number, so every byte survives a round trip.
constexpr std::array<char16_t, 32> HighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,   // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,   // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,   // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,   // 98..9F
};

// The character of every byte, so that decoding is one look-up per byte.
constexpr std::array<char16_t, 256> ByteToChar = [] {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)   // ASCII and Latin-1 agree with the code page outside 0x80..0x9F
        table[b] = (b >= 0x80 && b <= 0x9F) ? HighControlRange[b - 0x80] : char16_t(b);
    return table;
}();

bool IsAscii(QByteArrayView bytes)
{
    quint8 all = 0;   // one pass without branches, which the compiler vectorises
    for (const char byte : bytes)
        all |= quint8(byte);
    return all < 0x80;
}

}   // namespace

namespace Cp1252 {

void decodeInto(QByteArrayView bytes, QChar *out)
{
    // Most texts are ASCII, where code page and Latin-1 agree; Qt's Latin-1 decoder widens
    // those with vector instructions, twice as fast as a look-up per byte.
    if (IsAscii(bytes)) {
        thread_local QStringDecoder latin1(QStringDecoder::Latin1);   // made once: it is not free
        latin1.appendToBuffer(out, bytes);
        return;
    }
    const auto *in = reinterpret_cast<const quint8 *>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(ByteToChar[in[i]]);
}

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    decodeInto(bytes, text.data());
    return text;
}

bool encodeChar(QChar c, quint8 &byte)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        byte = static_cast<quint8>(u);
        return true;
    }
    for (std::size_t i = 0; i < HighControlRange.size(); ++i) {
        if (HighControlRange[i] == u) {
            byte = static_cast<quint8>(0x80 + i);
            return true;
        }
    }
    return false;
}

bool canEncode(const QString &text)
{
    quint8 unused;
    for (QChar c : text) {
        if (!encodeChar(c, unused))
            return false;
    }
    return true;
}

QByteArray encode(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        quint8 b;
        if (!encodeChar(text[i], b))
            throw BvlError(ErrNo::TypeMismatch, QStringLiteral("character U+%1 has no Windows-1252 byte")
                                                    .arg(text[i].unicode(), 4, 16, QLatin1Char('0')));
        bytes[i] = static_cast<char>(b);
    }
    return bytes;
}

}   // namespace Cp1252
