#include "seem/values/SettingCodec.h"

#include "core/BvlError.h"
#include "core/CodePage.h"
#include "core/Conversions.h"

// Types other than the five known codes are read and written as nothing: decoding gives
// the empty text, encoding leaves the image alone. Files written by other means may hold
// such codes, and passing them over keeps the rest of the file usable.

namespace {

// Throws 62 unless the count bytes from offset all lie inside the image. Checked before
// a write so that a setting reaching past the end changes nothing at all.
void RequireSpan(const ByteStore &store, qint64 offset, qint64 count)
{
    if (offset < 0 || offset + count > store.size())
        throw BvlError(ErrNo::InputPastEnd);
}

// A number that is to be combined into one byte; 6 when it cannot be.
void RequireByteValue(qint32 value)
{
    if (value < 0 || value > 255)
        throw BvlError(ErrNo::Overflow);
}

// The count bytes from offset on, cut short where the image ends: each setting is read
// with one call, and decoded from memory. An empty span reads nothing, wherever it lies.
// Every read goes through here, so the codec does not depend on each store refusing
// negative positions by itself.
QByteArray Span(ByteStore &store, qint64 offset, qint64 count)
{
    if (count <= 0)
        return QByteArray();
    if (offset < 0)
        throw BvlError(ErrNo::InputPastEnd);
    if (offset >= store.size())
        return QByteArray();   // nothing there to read: no call into the store
    return store.read(offset, count);
}

quint8 ByteAt(ByteStore &store, qint64 offset)
{
    const QByteArray byte = Span(store, offset, 1);
    if (byte.isEmpty())
        throw BvlError(ErrNo::InputPastEnd);
    return static_cast<quint8>(byte[0]);
}

quint8 OwnedBits(ByteStore &store, const SettingStruct &s)
{
    return ByteAt(store, s.Offset) & s.BitMask;
}

// Replaces the owned bits of the setting's byte with value. The value is masked as well,
// so that bits outside BitMask stay as they are even when a file holds a value that
// strays outside its own mask.
void WriteOwnedBits(ByteStore &store, const SettingStruct &s, qint32 value)
{
    RequireByteValue(value);
    const quint8 kept = ByteAt(store, s.Offset) & quint8(~s.BitMask);
    store.write(s.Offset, QByteArray(1, static_cast<char>(kept | (quint8(value) & s.BitMask))));
}

// A check box is defined by its checked value (the first value text); the unchecked
// value (the second) is needed only to write it unchecked, so a file that lacks it
// still shows the box and fails only that save.
qint32 CheckedValue(const SettingStruct &s)
{
    const ValueViews texts = SplitValueViews(s.Values);
    if (texts.isEmpty())
        throw BvlError(ErrNo::TypeMismatch, QStringLiteral("a check box needs its checked value"));
    return DecimalToLong(texts[0]);
}

qint32 UncheckedValue(const SettingStruct &s)
{
    const ValueViews texts = SplitValueViews(s.Values);
    if (texts.size() < 2)
        throw BvlError(ErrNo::TypeMismatch, QStringLiteral("a check box is saved unchecked with its second value"));
    return DecimalToLong(texts[1]);
}

// A string field up to its terminator (a zero byte, or a zero unit of two bytes), read in
// growing pieces: the cost follows the text the field holds, not the size it claims,
// which a setting file may set to gigabytes. Fails exactly where reading unit by unit
// would have run past the end of the image: a terminator inside the image ends the text
// however far the field is declared to reach, and a field filled to its end has none.
QByteArray FieldText(ByteStore &store, qint64 offset, qint64 fieldBytes, int unitBytes)
{
    constexpr qint64 FirstPiece = 4096;   // a whole field of any real file in one read
    constexpr qint64 LargestPiece = 64 * 1024;
    QByteArray text;
    qint64 piece = FirstPiece;   // a whole number of units
    for (qint64 at = 0; at < fieldBytes; at += piece, piece = qMin(2 * piece, LargestPiece)) {
        piece = qMin(piece, fieldBytes - at);
        const QByteArray bytes = Span(store, offset + at, piece);
        for (qsizetype unit = 0; unit + unitBytes <= bytes.size(); unit += unitBytes) {
            if (bytes.at(unit) == 0 && bytes.at(unit + unitBytes - 1) == 0)
                return text + bytes.left(unit);
        }
        if (bytes.size() < piece)
            throw BvlError(ErrNo::InputPastEnd);   // the image ended first, or cut a unit in half
        text += bytes;
    }
    return text;
}

QString DecodeAnsi(ByteStore &store, const SettingStruct &s)
{
    return CodePage::decode(FieldText(store, s.Offset, s.MaxStringLength, 1));
}

QString DecodeUnicode(ByteStore &store, const SettingStruct &s)
{
    const QByteArray bytes = FieldText(store, s.Offset, qint64(s.MaxStringLength) / 2 * 2, 2);
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype unit = 0; unit < text.size(); ++unit)
        text[unit] = QChar(char16_t(quint8(bytes[2 * unit]) << 8 | quint8(bytes[2 * unit + 1])));
    return text;
}

// Both string encoders write the field's text and terminator in one go, after checking
// the whole span, and never touch the bytes behind the terminator.
void WriteBytes(ByteStore &store, qint64 offset, const QByteArray &bytes)
{
    RequireSpan(store, offset, bytes.size());
    store.write(offset, bytes);
}

void EncodeAnsi(ByteStore &store, const SettingStruct &s, const QString &text)
{
    if (s.MaxStringLength < 1)
        return;   // not even the terminator fits
    QByteArray bytes = CodePage::encode(text.left(s.MaxStringLength - 1));
    bytes.append('\0');
    WriteBytes(store, s.Offset, bytes);
}

void EncodeUnicode(ByteStore &store, const SettingStruct &s, const QString &text)
{
    if (s.MaxStringLength < 2)
        return;   // not even the terminator fits
    QString kept = text.left((s.MaxStringLength - 2) / 2);
    // A cut between the halves of a surrogate pair would leave half a character behind.
    if (!kept.isEmpty() && kept.size() < text.size() && kept.back().isHighSurrogate()
        && text.at(kept.size()).isLowSurrogate())
        kept.chop(1);
    QByteArray bytes;
    bytes.reserve(2 * kept.size() + 2);
    for (QChar c : kept) {
        bytes.append(static_cast<char>(c.unicode() >> 8));
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
    }
    bytes.append(2, '\0');
    WriteBytes(store, s.Offset, bytes);
}

}   // namespace

namespace SettingCodec {

QVector<qint32> ValueNumbers(const SettingStruct &s)
{
    QVector<qint32> numbers;
    for (QStringView text : SplitValueViews(s.Values))
        numbers.append(DecimalToLong(text));
    return numbers;
}

bool DecodeChecked(ByteStore &store, const SettingStruct &s)
{
    const qint32 checkedValue = CheckedValue(s);
    // Any pattern other than the checked value, the unchecked one included, shows unchecked.
    return OwnedBits(store, s) == checkedValue;
}

void EncodeChecked(ByteStore &store, const SettingStruct &s, bool checked)
{
    const qint32 checkedValue = CheckedValue(s);
    WriteOwnedBits(store, s, checked ? checkedValue : UncheckedValue(s));
}

int DecodeListIndex(ByteStore &store, const SettingStruct &s)
{
    const qint32 owned = OwnedBits(store, s);
    // Entry k is name k with value k: value texts beyond the last name are no entry.
    // Converted one at a time and only up to the first match, as the list is walked.
    const ValueViews texts = SplitValueViews(s.Values);
    const qsizetype entries = qMin(texts.size(), SplitValueViews(s.ValueNames).size());
    for (int i = 0; i < entries; ++i) {
        if (DecimalToLong(texts[i]) == owned)
            return i;
    }
    return -1;
}

void EncodeListValue(ByteStore &store, const SettingStruct &s, qint32 itemData)
{
    WriteOwnedBits(store, s, itemData);
}

QString DecodeText(ByteStore &store, const SettingStruct &s)
{
    switch (SettingType(s.Type)) {
    case SettingType::Int8:
        return QString::number(ByteAt(store, s.Offset));
    case SettingType::AnsiString:
        return DecodeAnsi(store, s);
    case SettingType::UnicodeString:
        return DecodeUnicode(store, s);
    default:
        return QString();
    }
}

void EncodeText(ByteStore &store, const SettingStruct &s, const QString &text)
{
    switch (SettingType(s.Type)) {
    case SettingType::Int8: {
        const qint32 value = DecimalToLong(text);
        RequireByteValue(value);
        WriteBytes(store, s.Offset, QByteArray(1, static_cast<char>(value)));
        return;
    }
    case SettingType::AnsiString:
        EncodeAnsi(store, s, text);
        return;
    case SettingType::UnicodeString:
        EncodeUnicode(store, s, text);
        return;
    default:
        return;
    }
}

int MaxTextLength(const SettingStruct &s)
{
    switch (SettingType(s.Type)) {
    // Sizes too small for the terminator leave no room; tested first, so that a hostile
    // size near the bottom of the range cannot overflow the subtraction.
    case SettingType::AnsiString:
        return s.MaxStringLength < 1 ? 0 : s.MaxStringLength - 1;
    case SettingType::UnicodeString:
        return s.MaxStringLength < 2 ? 0 : (s.MaxStringLength - 2) / 2;
    default:
        return -1;
    }
}

}   // namespace SettingCodec
