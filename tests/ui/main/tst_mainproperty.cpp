// Random setting files over random images, damaged ones included (fields past the end,
// bits no value names, strings without terminator, surplus and unknown values), opened
// in the main window. A save without edits must succeed and change nothing; after edits
// of a random subset of controls, a save may change only the bits that the edited
// settings own, and a save that fails changes nothing at all.
//
// The seed is printed; set BVL_PROPERTY_SEED to repeat a run, BVL_PROPERTY_CYCLES for more.
#include "support/MainFixtures.h"
#include "support/PropertyRun.h"

#include <QtTest>

using namespace MainFixtures;
using namespace SeemFixtures;

namespace {

class Cycle
{
public:
    Cycle(MainFixture &f, quint64 seed, int number)
        : m_f(f), m_number(number), m_rng(seed ^ (quint64(number) * 0x9E3779B97F4A7C15ull))
    {}

    // An empty text on success, else what went wrong.
    QString run();
    // The settings of the cycle, for a failure message.
    QString describe() const;

private:
    SettingStruct randomSetting(int imageSize);
    QString randomText(const SettingStruct &s);
    void editControl(int index);
    // Per byte, the bits that setting s owns.
    static void addOwnedBits(const SettingStruct &s, QByteArray &owned);
    // Whether the bytes setting s reads may lie outside an image of size bytes: nothing
    // else in these files can fail a restore.
    static bool MayReadPastEnd(const SettingStruct &s, int size);

    MainFixture &m_f;
    int m_number;
    QRandomGenerator m_rng;
    SettingList m_settings;
};

SettingStruct Cycle::randomSetting(int imageSize)
{
    const int roll = m_rng.bounded(10);
    qint32 offset = m_rng.bounded(imageSize);
    if (roll == 0)
        offset = qMax(0, imageSize - m_rng.bounded(1, 4));   // a field that may run past the end
    else if (roll == 1)
        offset = imageSize + m_rng.bounded(3);
    const quint8 mask = quint8(m_rng.bounded(1, 256));

    SettingStruct s;
    switch (m_rng.bounded(6)) {
    case 0: {
        // Now and then a checked value with bits outside the mask.
        const qint32 checked = m_rng.bounded(8) == 0 ? m_rng.bounded(256) : m_rng.bounded(256) & mask;
        s = Checkbox(offset, mask, checked, m_rng.bounded(256) & mask);
        break;
    }
    case 1:
    case 5: {
        s = ValueList(offset, mask, {});
        QStringList names, values;
        const int count = m_rng.bounded(1, 5);
        for (int k = 0; k < count; ++k) {
            names << QStringLiteral("State %1").arg(k);
            values << QString::number(m_rng.bounded(256) & mask);
        }
        // Surplus value texts, named by nothing, a number or not.
        for (int k = m_rng.bounded(3); k > 0; --k)
            values << (m_rng.bounded(2) ? QStringLiteral("x") : QString::number(m_rng.bounded(256)));
        s.ValueNames = JoinValues(names);
        s.Values = JoinValues(values);
        if (m_rng.bounded(6) == 0)
            s.Type = quint8(m_rng.bounded(5, 256));   // a type code nothing knows: shown as a list
        break;
    }
    case 2:
        s = Int8(offset);
        break;
    case 3:
        s = AnsiString(offset, m_rng.bounded(0, 10));
        break;
    default:
        s = UnicodeString(offset, m_rng.bounded(0, 12));
        break;
    }
    const QString groups[] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("A\\C")};
    return Named(s, QStringLiteral("s%1").arg(m_settings.size() + 1), groups[m_rng.bounded(3)]);
}

QString Cycle::randomText(const SettingStruct &s)
{
    if (s.Type == quint8(SettingType::Int8)) {
        const QString odd[] = {QString(), QStringLiteral("x"), QStringLiteral("300")};
        return m_rng.bounded(5) < 3 ? odd[m_rng.bounded(3)] : QString::number(m_rng.bounded(256));
    }
    // Latin letters, Windows-1252 characters, and one the code page lacks.
    const char16_t alphabet[] = {u'a', u'Z', u' ', u'\u00E9', u'\u20AC', u'\u8A9E'};
    QString text;
    for (int i = m_rng.bounded(12); i > 0; --i)
        text += QChar(alphabet[m_rng.bounded(int(std::size(alphabet)))]);
    return text;
}

void Cycle::editControl(int index)
{
    bvlMain &w = *m_f.window;
    const SettingStruct &s = w.Settings.at(index - 1);
    if (s.Type == quint8(SettingType::Checkbox)) {
        m_f.check(index)->toggle();
    } else if (QComboBox *list = qobject_cast<QComboBox *>(w.ControlOf(index))) {
        list->setCurrentIndex(m_rng.bounded(list->count()));
    } else {
        m_f.text(index)->setText(randomText(s));   // cut at the input limit, as typing is
    }
}

void Cycle::addOwnedBits(const SettingStruct &s, QByteArray &owned)
{
    auto own = [&](qint64 at, quint8 bits) {
        if (at >= 0 && at < owned.size())
            owned[at] = char(quint8(owned[at]) | bits);
    };
    switch (SettingType(s.Type)) {
    case SettingType::Checkbox:
    case SettingType::ValueList:
        own(s.Offset, s.BitMask);
        break;
    case SettingType::Int8:
        own(s.Offset, 0xFF);
        break;
    case SettingType::AnsiString:
    case SettingType::UnicodeString:
        for (qint64 i = 0; i < s.MaxStringLength; ++i)
            own(s.Offset + i, 0xFF);
        break;
    default:
        break;   // unknown types own nothing
    }
}

bool Cycle::MayReadPastEnd(const SettingStruct &s, int size)
{
    qint64 span = 1;
    if (s.Type == quint8(SettingType::AnsiString))
        span = s.MaxStringLength;
    else if (s.Type == quint8(SettingType::UnicodeString))
        span = s.MaxStringLength / 2 * 2;
    return span > 0 && (s.Offset < 0 || s.Offset + span > size);
}

QString Cycle::describe() const
{
    QStringList parts;
    for (const SettingStruct &s : m_settings)
        parts << QStringLiteral("type %1 @%2 mask %3 len %4 values %5")
                     .arg(s.Type).arg(s.Offset).arg(s.BitMask).arg(s.MaxStringLength).arg(s.Values);
    return parts.join(QStringLiteral("; "));
}

QString Cycle::run()
{
    const int imageSize = m_rng.bounded(1, 32);
    QByteArray image(imageSize, Qt::Uninitialized);
    for (char &b : image)
        b = m_rng.bounded(3) == 0 ? '\0' : char(m_rng.bounded(256));   // zeros end some strings
    for (int i = m_rng.bounded(1, 9); i > 0; --i)
        m_settings << randomSetting(imageSize);

    const QString name = QStringLiteral("c%1").arg(m_number);
    const QString sec = m_f.folder.writeSec(name + QStringLiteral(".sec"), Header(1, 1), m_settings);
    const QString seem = m_f.folder.writeBytes(name + QStringLiteral(".seem"), image);
    bvlMain &w = *m_f.window;
    m_f.platform.answerFile(sec);
    w.OpenSEEM(seem);
    if (w.SettingPath != sec)
        return QStringLiteral("not opened: ") + m_f.platform.messages().join(QStringLiteral(" / "));

    if (!m_f.save() || m_f.folder.bytes(name + QStringLiteral(".seem")) != image)
        return QStringLiteral("a save without edits failed or changed the image");

    QByteArray owned(imageSize, '\0');
    for (int index = 1; index <= w.Settings.size(); ++index) {
        const bool restored = w.ControlOf(index)->isEnabled();
        if (!restored && !MayReadPastEnd(w.Settings.at(index - 1), imageSize))
            return QStringLiteral("setting %1 was not restored").arg(index);
        if (!restored || m_rng.bounded(2) == 0)
            continue;
        editControl(index);
        addOwnedBits(w.Settings.at(index - 1), owned);
    }
    m_f.platform.answerFile(seem);
    const bool saved = w.mnfSaveSEEM_Click();
    const QByteArray after = m_f.folder.bytes(name + QStringLiteral(".seem"));
    if (after.size() != imageSize)
        return QStringLiteral("the image changed its size");
    if (!saved && after != image)
        return QStringLiteral("a failed save wrote into the image");
    for (int i = 0; i < imageSize; ++i) {
        const quint8 changed = quint8(image[i] ^ after[i]);
        if (changed & ~quint8(owned[i]))
            return QStringLiteral("byte %1 changed from %2 to %3 outside the edited settings' bits")
                .arg(i).arg(quint8(image[i]), 2, 16, QLatin1Char('0')).arg(quint8(after[i]), 2, 16, QLatin1Char('0'));
    }
    if (saved != w.IsSaved)
        return QStringLiteral("IsSaved does not follow the save");
    return QString();
}

} // namespace

class TestMainProperty : public QObject
{
    Q_OBJECT
private slots:
    void savesTouchOnlyTheEditedSettingsBits()
    {
        const PropertyRun run = PropertyRunFromEnvironment("main window property", 200);
        MainFixture f;
        f.window->mnfAutoSettingSelection->setChecked(false);
        for (int cycle = 0; cycle < run.cycles; ++cycle) {
            f.platform.clearCalls();
            Cycle c(f, run.seed, cycle);
            const QString failure = c.run();
            if (!failure.isEmpty())
                QFAIL(qPrintable(QStringLiteral("seed %1, cycle %2: %3 (settings: %4)")
                                     .arg(run.seed).arg(cycle).arg(failure, c.describe())));
        }
    }
};

QTEST_MAIN(TestMainProperty)
#include "tst_mainproperty.moc"
