// Random settings of every type over random SEEM images, edited at random through the
// codec. Each edit is also applied to a plain byte model written here from the rules
// alone, and after every edit the codec's image must equal the model's, byte for byte:
// so no bit outside what an edit owns changes, a failed edit changes nothing, and the
// image never grows. At the end every setting whose bits no later edit overwrote must
// decode to the value it was given.
//
// The seed is printed; set BVL_PROPERTY_SEED to repeat a run, BVL_PROPERTY_CYCLES for more.

#include "core/BvlError.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/files/SeemFile.h"
#include "seem/values/SettingCodec.h"
#include "support/SeemFixtures.h"

#include <QRandomGenerator>
#include <QtTest>
#include <optional>

namespace {

// Characters with their Windows-1252 byte, and characters the code page lacks.
struct AnsiChar
{
    char16_t ch;
    quint8 byte;
};
const AnsiChar AnsiAlphabet[] = {
    {u'A', 0x41},      {u'z', 0x7A},      {u'0', 0x30},      {u' ', 0x20},      {u'~', 0x7E},      {u'\u00E9', 0xE9},
    {u'\u00FF', 0xFF}, {u'\u00A0', 0xA0}, {u'\u20AC', 0x80}, {u'\u2122', 0x99}, {u'\u0152', 0x8C}, {u'\u0001', 0x01},
};
const char16_t NotInCodePage[] = {u'\u8A9E', u'\u0394', u'\u2603'};
// UTF-16 units for the 16-bit strings: Latin, Greek, CJK, and a high byte of zero.
const char16_t UnicodeAlphabet[] = {u'A', u'\u00E9', u'\u03A9', u'\u8A9E', u'\u4100', u'\uFFFD', u'\u0100'};

// What one edit gives the codec, and what the model expects back.
struct EditValue
{
    bool checked = false;   // Checkbox
    qint32 itemData = 0;    // ValueList
    QString text;           // Int8 and strings
};

class Cycle
{
public:
    Cycle(quint64 seed, int number) : m_rng(seed ^ (quint64(number) * 0x9E3779B97F4A7C15ull)) {}

    // Returns an empty text on success, else what went wrong.
    QString run();

private:
    struct Tracked
    {
        SettingStruct setting;
        int lastEdit = -1;   // id of the last edit that succeeded
        EditValue lastValue;
    };

    SettingStruct randomSetting(int imageSize);
    EditValue randomValue(const SettingStruct &s);
    quint8 randomNonZeroMask() { return quint8(m_rng.bounded(1, 256)); }
    qint32 randomWithin(quint8 mask) { return qint32(m_rng.bounded(256)) & mask; }

    // The model: applies the edit to image, marks the bits it wrote in owner, and returns
    // the error the codec must raise (0 for none).
    int modelEdit(const SettingStruct &s, const EditValue &v, QByteArray &image, QVector<int> &owner, int editId);
    static bool decodesBack(ByteStore &store, const Tracked &t, QString &why);

    QRandomGenerator m_rng;
    QVector<int> m_flagsWritten;   // per edit id: how many bits it wrote
};

int OwnedFlag(int byte, int bit)
{
    return byte * 8 + bit;
}

// The written span [offset, offset + count) must lie inside the image.
bool SpanInside(qint64 offset, qint64 count, qint64 size)
{
    return offset >= 0 && offset + count <= size;
}

QString CutUnicode(const QString &text, int units)
{
    QString kept = text.left(units);
    if (!kept.isEmpty() && kept.size() < text.size() && kept.back().isHighSurrogate())
        kept.chop(1);
    return kept;
}

// The text a field holds after text was written into it.
QString StoredText(const SettingStruct &s, const QString &text)
{
    switch (SettingType(s.Type)) {
    case SettingType::Int8:
        return text;
    case SettingType::AnsiString:
        return text.left(qMax(0, s.MaxStringLength - 1));
    case SettingType::UnicodeString:
        return CutUnicode(text, qMax(0, (s.MaxStringLength - 2) / 2));
    default:
        return QString();
    }
}

SettingStruct Cycle::randomSetting(int imageSize)
{
    using namespace SeemFixtures;
    // Mostly inside the image, sometimes at or past either end.
    const int roll = m_rng.bounded(20);
    qint32 offset = m_rng.bounded(imageSize);
    if (roll == 0)
        offset = imageSize + m_rng.bounded(3);
    else if (roll == 1)
        offset = -1 - m_rng.bounded(3);

    switch (m_rng.bounded(11)) {
    case 0:
    case 1: {
        const quint8 mask = randomNonZeroMask();
        const qint32 checked = randomWithin(mask);
        qint32 unchecked = randomWithin(mask);
        while (unchecked == checked)
            unchecked = randomWithin(mask);
        return Checkbox(offset, mask, checked, unchecked);
    }
    case 2:
    case 3: {
        SettingStruct s = ValueList(offset, randomNonZeroMask(), {});
        QStringList values;
        QStringList names;
        const int count = m_rng.bounded(1, 6);
        for (int i = 0; i < count; ++i)
            values << QString::number(randomWithin(s.BitMask));
        // Now and then fewer names than values: the values left over are no entry.
        const int named = m_rng.bounded(4) == 0 ? m_rng.bounded(count + 1) : count;
        for (int i = 0; i < named; ++i)
            names << QStringLiteral("Value %1").arg(i);
        s.Values = JoinValues(values);
        s.ValueNames = JoinValues(names);
        return s;
    }
    case 4:
    case 5:
        return Int8(offset);
    case 6:
    case 7:
        return AnsiString(offset, m_rng.bounded(-1, 12));
    case 8:
    case 9:
        return UnicodeString(offset, m_rng.bounded(-1, 14));
    default: {
        SettingStruct s = AnsiString(offset, m_rng.bounded(12));
        s.Type = quint8(m_rng.bounded(5, 256));   // a code no known type has
        return s;
    }
    }
}

EditValue Cycle::randomValue(const SettingStruct &s)
{
    EditValue v;
    switch (SettingType(s.Type)) {
    case SettingType::Checkbox:
        v.checked = m_rng.bounded(2) == 1;
        break;
    case SettingType::ValueList: {
        const QStringList values = SplitValues(s.Values);
        // Now and then a number out of range, or one with bits outside the mask, as a
        // damaged setting file could hold.
        const int roll = m_rng.bounded(20);
        if (roll == 0)
            v.itemData = 256;
        else if (roll == 1)
            v.itemData = -1;
        else if (roll == 2)
            v.itemData = m_rng.bounded(256);
        else
            v.itemData = values[m_rng.bounded(int(values.size()))].toInt();
        break;
    }
    case SettingType::Int8: {
        const int roll = m_rng.bounded(16);
        const QString bad[] = {QStringLiteral("256"), QStringLiteral("-1"), QString(), QStringLiteral("x1")};
        v.text = roll < 4 ? bad[roll] : QString::number(m_rng.bounded(256));
        break;
    }
    case SettingType::UnicodeString: {
        const int length = m_rng.bounded(9);
        for (int i = 0; i < length; ++i) {
            if (m_rng.bounded(10) == 0)
                v.text += QString::fromUtf8("\U0001F600");   // a surrogate pair
            else
                v.text += QChar(UnicodeAlphabet[m_rng.bounded(int(std::size(UnicodeAlphabet)))]);
        }
        break;
    }
    default: {   // AnsiString and unknown codes
        const int length = m_rng.bounded(14);
        for (int i = 0; i < length; ++i) {
            if (m_rng.bounded(30) == 0)
                v.text += QChar(NotInCodePage[m_rng.bounded(int(std::size(NotInCodePage)))]);
            else
                v.text += QChar(AnsiAlphabet[m_rng.bounded(int(std::size(AnsiAlphabet)))].ch);
        }
        break;
    }
    }
    return v;
}

int Cycle::modelEdit(const SettingStruct &s, const EditValue &v, QByteArray &image, QVector<int> &owner, int editId)
{
    const qint64 size = image.size();
    m_flagsWritten.resize(editId + 1);
    m_flagsWritten[editId] = 0;
    auto writeBytes = [&](const QByteArray &bytes) {
        if (!SpanInside(s.Offset, bytes.size(), size))
            return int(ErrNo::InputPastEnd);
        for (int i = 0; i < bytes.size(); ++i) {
            image[s.Offset + i] = bytes[i];
            for (int bit = 0; bit < 8; ++bit)
                owner[OwnedFlag(s.Offset + i, bit)] = editId;
        }
        m_flagsWritten[editId] = 8 * bytes.size();
        return 0;
    };
    auto writeBits = [&](qint32 value) {
        if (value < 0 || value > 255)
            return int(ErrNo::Overflow);
        if (!SpanInside(s.Offset, 1, size))
            return int(ErrNo::InputPastEnd);
        for (int bit = 0; bit < 8; ++bit) {
            if (!(s.BitMask & (1 << bit)))
                continue;
            const char mask = char(1 << bit);
            image[s.Offset] = char((image[s.Offset] & ~mask) | (value & mask));
            owner[OwnedFlag(s.Offset, bit)] = editId;
            ++m_flagsWritten[editId];
        }
        return 0;
    };

    switch (SettingType(s.Type)) {
    case SettingType::Checkbox: {
        const QStringList values = SplitValues(s.Values);
        return writeBits(values[v.checked ? 0 : 1].toInt());
    }
    case SettingType::ValueList:
        return writeBits(v.itemData);
    case SettingType::Int8: {
        bool isNumber = false;
        const int value = v.text.toInt(&isNumber);
        if (!isNumber)
            return ErrNo::TypeMismatch;
        if (value < 0 || value > 255)
            return ErrNo::Overflow;
        return writeBytes(QByteArray(1, char(value)));
    }
    case SettingType::AnsiString: {
        if (s.MaxStringLength < 1)
            return 0;
        QByteArray bytes;
        for (QChar c : v.text.left(s.MaxStringLength - 1)) {
            const auto *known = std::find_if(std::begin(AnsiAlphabet), std::end(AnsiAlphabet),
                                             [c](const AnsiChar &a) { return a.ch == c.unicode(); });
            if (known == std::end(AnsiAlphabet))
                return ErrNo::TypeMismatch;
            bytes.append(char(known->byte));
        }
        return writeBytes(bytes + QByteArray(1, '\0'));
    }
    case SettingType::UnicodeString: {
        if (s.MaxStringLength < 2)
            return 0;
        QByteArray bytes;
        for (QChar c : CutUnicode(v.text, (s.MaxStringLength - 2) / 2)) {
            bytes.append(char(c.unicode() >> 8));
            bytes.append(char(c.unicode() & 0xFF));
        }
        return writeBytes(bytes + QByteArray(2, '\0'));
    }
    default:
        return 0;
    }
}

void ApplyEdit(ByteStore &store, const SettingStruct &s, const EditValue &v)
{
    switch (SettingType(s.Type)) {
    case SettingType::Checkbox:
        SettingCodec::EncodeChecked(store, s, v.checked);
        break;
    case SettingType::ValueList:
        SettingCodec::EncodeListValue(store, s, v.itemData);
        break;
    default:
        SettingCodec::EncodeText(store, s, v.text);
        break;
    }
}

QByteArray ReadAll(ByteStore &store)
{
    return store.read(0, store.size());
}

bool Cycle::decodesBack(ByteStore &store, const Tracked &t, QString &why)
{
    const SettingStruct &s = t.setting;
    switch (SettingType(s.Type)) {
    case SettingType::Checkbox:
        if (SettingCodec::DecodeChecked(store, s) == t.lastValue.checked)
            return true;
        why = QStringLiteral("check box decoded the other state");
        return false;
    case SettingType::ValueList: {
        const qint32 stored = t.lastValue.itemData & s.BitMask;
        const QStringList entries = SplitValues(s.Values).mid(0, SplitValues(s.ValueNames).size());
        const int expected = int(entries.indexOf(QString::number(stored)));
        const int got = SettingCodec::DecodeListIndex(store, s);
        if (got == expected)
            return true;
        why = QStringLiteral("list decoded entry %1, expected %2").arg(got).arg(expected);
        return false;
    }
    default: {
        const QString expected = StoredText(s, t.lastValue.text);
        const QString got = SettingCodec::DecodeText(store, s);
        if (got == expected)
            return true;
        why = QStringLiteral("text decoded as \"%1\", expected \"%2\"").arg(got, expected);
        return false;
    }
    }
}

QString Cycle::run()
{
    const int imageSize = m_rng.bounded(1, 48);
    QByteArray model(imageSize, Qt::Uninitialized);
    for (char &b : model)
        b = char(m_rng.bounded(256));
    MemoryByteStore memory(model);
    const QByteArray original = model;
    // Half the cycles collect the edits first, as a save does, and commit at the end.
    const bool buffered = m_rng.bounded(2) == 1;
    PendingWrites pending(memory);
    ByteStore &store = buffered ? static_cast<ByteStore &>(pending) : memory;

    QVector<Tracked> settings(m_rng.bounded(1, 9));
    for (Tracked &t : settings)
        t.setting = randomSetting(imageSize);
    QVector<int> owner(imageSize * 8, -1);

    const int edits = m_rng.bounded(1, 13);
    for (int editId = 0; editId < edits; ++editId) {
        Tracked &t = settings[m_rng.bounded(int(settings.size()))];
        const EditValue value = randomValue(t.setting);
        const int expectedError = modelEdit(t.setting, value, model, owner, editId);
        int error = 0;
        try {
            ApplyEdit(store, t.setting, value);
        } catch (const BvlError &e) {
            error = e.number();
        }
        if (error != expectedError)
            return QStringLiteral("edit %1 (type %2, offset %3): error %4, expected %5")
                .arg(editId)
                .arg(t.setting.Type)
                .arg(t.setting.Offset)
                .arg(error)
                .arg(expectedError);
        if (store.size() != imageSize || ReadAll(store) != model)
            return QStringLiteral("edit %1 (type %2, offset %3): image %4, expected %5")
                .arg(editId)
                .arg(t.setting.Type)
                .arg(t.setting.Offset)
                .arg(QString::fromLatin1(ReadAll(store).toHex(' ')), QString::fromLatin1(model.toHex(' ')));
        if (error == 0) {
            t.lastEdit = editId;
            t.lastValue = value;
        }
    }

    if (buffered) {
        if (memory.bytes() != original)
            return QStringLiteral("pending writes reached the image before the commit");
        pending.commit();
        if (memory.bytes() != model)
            return QStringLiteral("commit wrote %1, expected %2")
                .arg(QString::fromLatin1(memory.bytes().toHex(' ')), QString::fromLatin1(model.toHex(' ')));
    }

    // A setting decodes back what it was given unless a later edit took over one of its bits.
    for (const Tracked &t : settings) {
        if (t.lastEdit < 0 || owner.count(t.lastEdit) != m_flagsWritten[t.lastEdit])
            continue;
        QString why;
        try {
            if (!decodesBack(store, t, why))
                return QStringLiteral("setting of type %1 at offset %2: %3")
                    .arg(t.setting.Type)
                    .arg(t.setting.Offset)
                    .arg(why);
        } catch (const BvlError &e) {
            return QStringLiteral("setting of type %1 at offset %2: decoding failed with %3")
                .arg(t.setting.Type)
                .arg(t.setting.Offset)
                .arg(e.number());
        }
    }
    return QString();
}

}   // namespace

class TestCodecProperty : public QObject
{
    Q_OBJECT

private slots:
    void randomEditsTouchOnlyOwnedBits();
};

void TestCodecProperty::randomEditsTouchOnlyOwnedBits()
{
    bool seedGiven = false;
    quint64 seed = qEnvironmentVariable("BVL_PROPERTY_SEED").toULongLong(&seedGiven);
    if (!seedGiven)
        seed = QRandomGenerator::global()->generate64();
    bool cyclesGiven = false;
    int cycles = qEnvironmentVariableIntValue("BVL_PROPERTY_CYCLES", &cyclesGiven);
    if (!cyclesGiven || cycles < 1)
        cycles = 10000;
    qInfo("codec property seed %llu (set BVL_PROPERTY_SEED to repeat), %d cycles", seed, cycles);

    for (int cycle = 0; cycle < cycles; ++cycle) {
        const QString failure = Cycle(seed, cycle).run();
        if (!failure.isEmpty())
            QFAIL(qPrintable(QStringLiteral("seed %1, cycle %2: %3").arg(seed).arg(cycle).arg(failure)));
    }
}

QTEST_GUILESS_MAIN(TestCodecProperty)
#include "tst_codecproperty.moc"
