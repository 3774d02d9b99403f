#include "core/CodePage.h"

#include "core/BvlError.h"
#include "core/Cp1252.h"

#include <QHash>
#include <QStringDecoder>

#include <array>
#include <map>
#include <memory>

namespace {

// Where unassigned bytes go: a private use character per byte, so nothing is lost.
constexpr char16_t UnassignedBase = 0xF700;

int CurrentNumber = CodePage::Default;

// One code page as two look-up tables, made once from Qt's converter of that code page.
// Converting each of a setting file's many short texts through the converter itself costs
// several times more than a look-up per byte (see the benchmark), so the converter only
// tells which character each byte stands for.
class ByteTable
{
public:
    explicit ByteTable(int number)
    {
        const QByteArray name = "windows-" + QByteArray::number(number);
        for (int b = 0; b < 256; ++b) {
            // A decoder per byte: one that has met an unassigned byte keeps its error.
            QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
            if (!decoder.isValid())
                throw BvlError(ErrNo::TypeMismatch,
                               QStringLiteral("this Qt has no converter for %1").arg(QString::fromLatin1(name)));
            const char byte = char(b);
            const QString decoded = decoder.decode(QByteArrayView(&byte, 1));
            const bool assigned =
                !decoder.hasError() && decoded.size() == 1 && decoded[0] != QChar::ReplacementCharacter;
            m_toChar[b] = assigned ? decoded[0].unicode() : char16_t(UnassignedBase + b);
            m_toByte.insert(m_toChar[b], quint8(b));
        }
    }

    void decodeInto(QByteArrayView bytes, QChar *out) const
    {
        const auto *in = reinterpret_cast<const quint8 *>(bytes.data());
        for (qsizetype i = 0; i < bytes.size(); ++i)
            out[i] = QChar(m_toChar[in[i]]);
    }

    bool encodeChar(QChar c, quint8 &byte) const
    {
        if (c.unicode() < 0x80) {   // ASCII is the same in every code page offered
            byte = quint8(c.unicode());
            return true;
        }
        const auto it = m_toByte.constFind(c.unicode());
        if (it == m_toByte.constEnd())
            return false;
        byte = it.value();
        return true;
    }

private:
    std::array<char16_t, 256> m_toChar{};
    QHash<char16_t, quint8> m_toByte;
};

const ByteTable &TableOf(int number)
{
    // Made on first use, for the code pages actually used.
    static std::map<int, std::unique_ptr<const ByteTable>> tables;
    std::unique_ptr<const ByteTable> &table = tables[number];
    if (!table)
        table = std::make_unique<const ByteTable>(number);
    return *table;
}

}   // namespace

namespace CodePage {

const QList<int> &Supported()
{
    static const QList<int> numbers{1252, 1250, 1251, 1253, 1254, 1257};
    return numbers;
}

bool IsSupported(int number)
{
    return Supported().contains(number);
}

QString DisplayName(int number)
{
    return QStringLiteral("Windows-%1").arg(number);
}

int Current()
{
    return CurrentNumber;
}

bool SetCurrent(int number)
{
    if (!IsSupported(number))
        return false;
    CurrentNumber = number;
    return true;
}

QString decode(int number, QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    // Windows-1252 keeps its hand-written decoder, which the benchmark shows faster.
    if (number == Default)
        Cp1252::decodeInto(bytes, text.data());
    else
        TableOf(number).decodeInto(bytes, text.data());
    return text;
}

bool encodeChar(int number, QChar c, quint8 &byte)
{
    if (number == Default)
        return Cp1252::encodeChar(c, byte);
    return TableOf(number).encodeChar(c, byte);
}

QByteArray encode(int number, const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        quint8 b;
        if (!encodeChar(number, text[i], b))
            throw BvlError(ErrNo::TypeMismatch, QStringLiteral("character U+%1 has no %2 byte")
                                                    .arg(text[i].unicode(), 4, 16, QLatin1Char('0'))
                                                    .arg(DisplayName(number)));
        bytes[i] = static_cast<char>(b);
    }
    return bytes;
}

QString decode(QByteArrayView bytes)
{
    return decode(CurrentNumber, bytes);
}

void decodeInto(QByteArrayView bytes, QChar *out)
{
    if (CurrentNumber == Default)
        Cp1252::decodeInto(bytes, out);
    else
        TableOf(CurrentNumber).decodeInto(bytes, out);
}

bool canEncode(const QString &text)
{
    quint8 unused;
    for (QChar c : text)
        if (!encodeChar(CurrentNumber, c, unused))
            return false;
    return true;
}

QByteArray encode(const QString &text)
{
    return encode(CurrentNumber, text);
}

bool encodeChar(QChar c, quint8 &byte)
{
    return encodeChar(CurrentNumber, c, byte);
}

}   // namespace CodePage
