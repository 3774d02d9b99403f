#include "seem/SettingCodec.h"

#include "core/BvlError.h"
#include "core/Conversions.h"
#include "core/Cp1252.h"

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

// Every read goes through here, so the codec does not depend on each store refusing
// negative positions by itself.
quint8 ByteAt(ByteStore &store, qint64 offset)
{
    RequireSpan(store, offset, 1);
    return store.readByte(offset);
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
    store.writeByte(s.Offset, kept | (quint8(value) & s.BitMask));
}

// The checked value (first) and unchecked value (second) of a Checkbox.
struct CheckValues
{
    qint32 checked;
    qint32 unchecked;
};

CheckValues CheckboxValues(const SettingStruct &s)
{
    const QStringList texts = SplitValues(s.Values);
    if (texts.size() < 2)
        throw BvlError(ErrNo::TypeMismatch, QStringLiteral("a check box needs two values"));
    return {DecimalToLong(texts[0]), DecimalToLong(texts[1])};
}

QString DecodeAnsi(ByteStore &store, const SettingStruct &s)
{
    QByteArray bytes;
    for (qint64 i = 0; i < s.MaxStringLength; ++i) {
        const quint8 b = ByteAt(store, qint64(s.Offset) + i);
        if (b == 0)
            break;
        bytes.append(static_cast<char>(b));
    }
    return Cp1252::decode(bytes);
}

QString DecodeUnicode(ByteStore &store, const SettingStruct &s)
{
    QString text;
    const qint64 maxUnits = s.MaxStringLength / 2;
    for (qint64 i = 0; i < maxUnits; ++i) {
        const qint64 at = qint64(s.Offset) + 2 * i;
        const char16_t unit = char16_t(ByteAt(store, at) << 8 | ByteAt(store, at + 1));
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

// Both string encoders write the field's text and terminator in one go, after checking
// the whole span, and never touch the bytes behind the terminator.
void WriteBytes(ByteStore &store, qint64 offset, const QByteArray &bytes)
{
    RequireSpan(store, offset, bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        store.writeByte(offset + i, static_cast<quint8>(bytes[i]));
}

void EncodeAnsi(ByteStore &store, const SettingStruct &s, const QString &text)
{
    if (s.MaxStringLength < 1)
        return; // not even the terminator fits
    QByteArray bytes = Cp1252::encode(text.left(s.MaxStringLength - 1));
    bytes.append('\0');
    WriteBytes(store, s.Offset, bytes);
}

void EncodeUnicode(ByteStore &store, const SettingStruct &s, const QString &text)
{
    if (s.MaxStringLength < 2)
        return; // not even the terminator fits
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

} // namespace

namespace SettingCodec {

QVector<qint32> ValueNumbers(const SettingStruct &s)
{
    QVector<qint32> numbers;
    for (const QString &text : SplitValues(s.Values))
        numbers.append(DecimalToLong(text));
    return numbers;
}

bool DecodeChecked(ByteStore &store, const SettingStruct &s)
{
    const CheckValues values = CheckboxValues(s);
    // Any pattern other than the checked value, the unchecked one included, shows unchecked.
    return OwnedBits(store, s) == values.checked;
}

void EncodeChecked(ByteStore &store, const SettingStruct &s, bool checked)
{
    const CheckValues values = CheckboxValues(s);
    WriteOwnedBits(store, s, checked ? values.checked : values.unchecked);
}

int DecodeListIndex(ByteStore &store, const SettingStruct &s)
{
    const qint32 owned = OwnedBits(store, s);
    // Converted one at a time and only up to the first match, as the list is walked.
    const QStringList texts = SplitValues(s.Values);
    for (int i = 0; i < texts.size(); ++i) {
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
        RequireSpan(store, s.Offset, 1);
        store.writeByte(s.Offset, quint8(value));
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

} // namespace SettingCodec
