// Random setting files over random images, damaged ones included (fields past the end,
// bits no value names, strings without terminator, surplus and unknown values), opened
// in the main window. Only settings reading past the end may fail to restore; a save
// without edits changes nothing; after edits of a random subset of controls a save
// changes only the bits the edited settings own, and a failing save changes nothing.
//
// The seed is printed; set BVL_PROPERTY_SEED to repeat a run, BVL_PROPERTY_CYCLES for more.
#include "support/MainFixtures.h"
#include "support/PropertyRun.h"

#include <QtTest>

using namespace MainFixtures;
using namespace SeemFixtures;

namespace {

SettingStruct RandomSetting(QRandomGenerator &rng, int imageSize)
{
    // Mostly inside the image, sometimes running past or beyond its end.
    const int roll = rng.bounded(10);
    const qint32 offset = roll == 0   ? qMax(0, imageSize - rng.bounded(1, 4))
                          : roll == 1 ? imageSize + rng.bounded(3)
                                      : rng.bounded(imageSize);
    const quint8 mask = quint8(rng.bounded(1, 256));
    switch (rng.bounded(5)) {
    case 0:   // now and then a checked value with bits outside the mask
        return Checkbox(offset, mask, rng.bounded(8) ? rng.bounded(256) & mask : rng.bounded(256),
                        rng.bounded(256) & mask);
    case 1: {
        SettingStruct s = ValueList(offset, mask, {});
        QStringList names, values;
        for (int k = rng.bounded(1, 5); k > 0; --k) {
            names << QStringLiteral("State %1").arg(k);
            values << QString::number(rng.bounded(256) & mask);
        }
        for (int k = rng.bounded(3); k > 0; --k)   // surplus value texts, numbers or not
            values << (rng.bounded(2) ? QStringLiteral("x") : QString::number(rng.bounded(256)));
        s.ValueNames = JoinValues(names);
        s.Values = JoinValues(values);
        if (rng.bounded(6) == 0)
            s.Type = quint8(rng.bounded(5, 256));   // a type code nothing knows: shown as a list
        return s;
    }
    case 2:
        return Int8(offset);
    case 3:
        return AnsiString(offset, rng.bounded(10));
    default:
        return UnicodeString(offset, rng.bounded(12));
    }
}

// The bits of each byte that setting s owns, and whether it may read past the end.
void AddOwnedBits(const SettingStruct &s, QByteArray &owned)
{
    const bool isString = s.Type == quint8(SettingType::AnsiString) || s.Type == quint8(SettingType::UnicodeString);
    const qint64 span = isString ? s.MaxStringLength : s.Type <= quint8(SettingType::Int8) ? 1 : 0;
    const quint8 bits = s.Type == quint8(SettingType::Int8) || isString ? 0xFF : s.BitMask;
    for (qint64 at = s.Offset; at < s.Offset + span; ++at)
        if (at >= 0 && at < owned.size())
            owned[at] = char(quint8(owned[at]) | bits);
}

bool MayReadPastEnd(const SettingStruct &s, int size)
{
    const qint64 span = s.Type == quint8(SettingType::AnsiString)      ? s.MaxStringLength
                        : s.Type == quint8(SettingType::UnicodeString) ? s.MaxStringLength / 2 * 2
                                                                       : 1;
    return span > 0 && (s.Offset < 0 || s.Offset + span > size);
}

void EditControl(MainFixture &f, QRandomGenerator &rng, int index)
{
    const SettingStruct &s = f.window->Settings.at(index - 1);
    if (s.Type == quint8(SettingType::Checkbox)) {
        f.check(index)->toggle();
    } else if (auto *list = qobject_cast<QComboBox *>(f.window->ControlOf(index))) {
        list->setCurrentIndex(rng.bounded(list->count()));
    } else if (s.Type == quint8(SettingType::Int8)) {
        const QString odd[] = {QString(), QStringLiteral("x"), QStringLiteral("300")};
        f.text(index)->setText(rng.bounded(5) < 3 ? odd[rng.bounded(3)] : QString::number(rng.bounded(256)));
    } else {
        // Latin letters, Windows-1252 characters, one the code page lacks; cut at the
        // input limit, as typing is.
        const char16_t alphabet[] = {u'a', u'Z', u' ', u'\u00E9', u'\u20AC', u'\u8A9E'};
        QString text;
        for (int i = rng.bounded(12); i > 0; --i)
            text += QChar(alphabet[rng.bounded(int(std::size(alphabet)))]);
        f.text(index)->setText(text);
    }
}

QString RunCycle(MainFixture &f, QRandomGenerator &rng, int cycle)
{
    QByteArray image(rng.bounded(1, 32), Qt::Uninitialized);
    for (char &b : image)
        b = rng.bounded(3) == 0 ? '\0' : char(rng.bounded(256));   // zeros end some strings
    SettingList settings;
    for (int i = rng.bounded(1, 9); i > 0; --i)
        settings << Named(RandomSetting(rng, image.size()), QStringLiteral("s%1").arg(i), i % 2 ? "A" : "A\\B");

    const QString name = QStringLiteral("c%1").arg(cycle);
    const QString sec = f.folder.writeSec(name + ".sec", Header(1, 1), settings);
    const QString seem = f.folder.writeBytes(name + ".seem", image);
    bvlMain &w = *f.window;
    f.platform.answerFile(sec);
    w.OpenSEEM(seem);
    if (w.Document->settingPath() != sec)
        return "not opened: " + f.platform.messages().join(" / ");
    f.platform.answerFile(seem);
    if (!w.mnfSaveSEEM_Click() || f.folder.bytes(name + ".seem") != image)
        return QStringLiteral("a save without edits failed or changed the image");

    QByteArray owned(image.size(), '\0');
    for (int index = 1; index <= w.Settings.size(); ++index) {
        const bool restored = w.ControlOf(index)->isEnabled();
        if (!restored && !MayReadPastEnd(w.Settings.at(index - 1), image.size()))
            return QStringLiteral("setting %1 was not restored").arg(index);
        if (restored && rng.bounded(2) == 1) {
            EditControl(f, rng, index);
            AddOwnedBits(w.Settings.at(index - 1), owned);
        }
    }
    // A value that cannot be written is refused before the save dialog opens.
    bool refusedAtOnce = false;
    for (int index : w.ChangedSettings())
        refusedAtOnce = refusedAtOnce || w.TypedValueProblemOf(index) != TypedValueProblem::None;
    if (!refusedAtOnce)
        f.platform.answerFile(seem);
    const auto dialogsBefore = f.platform.callsOf(ScriptedPlatform::Kind::SaveFile).size();
    const bool saved = w.mnfSaveSEEM_Click();
    if (refusedAtOnce && (saved || f.platform.callsOf(ScriptedPlatform::Kind::SaveFile).size() != dialogsBefore))
        return QStringLiteral("a value that cannot be written reached the save dialog");
    const QByteArray after = f.folder.bytes(name + ".seem");
    if (after.size() != image.size() || (!saved && after != image) || saved != w.IsSaved())
        return QStringLiteral("save %1, yet the image is %2").arg(saved).arg(QString(after.toHex(' ')));
    for (int i = 0; i < image.size(); ++i)
        if (quint8(image[i] ^ after[i]) & ~quint8(owned[i]))
            return QStringLiteral("byte %1 changed outside the edited settings' bits: %2 -> %3")
                .arg(i)
                .arg(QString(image.toHex(' ')), QString(after.toHex(' ')));
    return QString();
}

}   // namespace

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
            QRandomGenerator rng(run.seed ^ (quint64(cycle) * 0x9E3779B97F4A7C15ull));
            f.platform.clearCalls();
            const QString failure = RunCycle(f, rng, cycle);
            if (!failure.isEmpty())
                QFAIL(qPrintable(QStringLiteral("seed %1, cycle %2: %3").arg(run.seed).arg(cycle).arg(failure)));
        }
    }
};

QTEST_MAIN(TestMainProperty)
#include "tst_mainproperty.moc"
