// Finding settings by name or description, and the values of controls against another
// image: what the main window's Find and Compare show.
#include "seem/document/SettingSearch.h"
#include "seem/document/StateComparison.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/values/ControlStateText.h"
#include "support/SeemFixtures.h"

#include <QtTest>

using namespace SeemFixtures;

namespace {
SettingStruct Described(SettingStruct s, const QString &name, const QString &description)
{
    s.Name = name;
    s.Description = description;
    return s;
}
}   // namespace

class TestSettingSearch : public QObject
{
    Q_OBJECT
private slots:
    void matchesNameOrDescriptionInAnyCase()
    {
        const SettingList settings{Described(Int8(0), "Volume", "How loud"),
                                   Described(Int8(1), "Beep", "Sounds on every KEY"),
                                   Described(Int8(2), "Keypad lock", ""), Described(Int8(3), "Timeout", "Seconds")};
        QCOMPARE(SettingsMatching(settings, "key"), QVector<int>({2, 3}));
        QCOMPARE(SettingsMatching(settings, "LOUD"), QVector<int>({1}));
        QCOMPARE(SettingsMatching(settings, "none"), QVector<int>());
        QCOMPARE(SettingsMatching(settings, ""), QVector<int>());
    }

    void nextMatchWrapsBothWays()
    {
        const QVector<int> matches{2, 5, 9};
        // Typing: the current position counts; before the first setting, the first match.
        QCOMPARE(NextMatch(matches, 5, SearchDirection::Forward, true), 5);
        QCOMPARE(NextMatch(matches, 0, SearchDirection::Forward, true), 2);
        QCOMPARE(NextMatch(matches, 6, SearchDirection::Forward, true), 9);
        // F3 and Shift+F3: strictly after or before, around the ends.
        QCOMPARE(NextMatch(matches, 5, SearchDirection::Forward, false), 9);
        QCOMPARE(NextMatch(matches, 9, SearchDirection::Forward, false), 2);
        QCOMPARE(NextMatch(matches, 5, SearchDirection::Backward, false), 2);
        QCOMPARE(NextMatch(matches, 2, SearchDirection::Backward, false), 9);
        QCOMPARE(NextMatch(matches, 4, SearchDirection::Backward, true), 2);
        QCOMPARE(NextMatch({}, 1, SearchDirection::Forward, false), 0);
    }

    void controlStatesInWords()
    {
        const SettingStruct list = ValueList(0, 0x03, {0, 1, 2});
        QCOMPARE(ControlStateText(Checkbox(0, 1, 1, 0), ControlState::Checked(true)), QStringLiteral("on"));
        QCOMPARE(ControlStateText(Checkbox(0, 1, 1, 0), ControlState::Checked(false)), QStringLiteral("off"));
        QCOMPARE(ControlStateText(list, ControlState::ListPosition(2)), QStringLiteral("Value 2"));
        QCOMPARE(ControlStateText(list, ControlState::ListPosition(-1)), QString());
        QCOMPARE(ControlStateText(AnsiString(0, 8), ControlState::Text("ABC")), QStringLiteral("ABC"));
    }

    // The other image decoded as a restore would show it; this side as the controls hold
    // it, so an edit that makes both equal is no difference.
    void comparesControlStatesWithAnImage()
    {
        const SettingList settings{Checkbox(0, 0x01, 1, 0), ValueList(0, 0x30, {0, 16, 32}), Int8(1), AnsiString(2, 4)};
        MemoryByteStore other(QByteArray::fromHex("21"
                                                  "07"
                                                  "41420000"));
        QVector<std::optional<ControlState>> current{ControlState::Checked(true), ControlState::ListPosition(2),
                                                     ControlState::Text("7"), ControlState::Text("AB")};
        QCOMPARE(CompareStatesWithImage(settings, current, other).size(), 0);

        current[0] = ControlState::Checked(false);
        current[2] = ControlState::Text("07");   // the same byte written, but not what the other shows
        const QVector<StateDifference> differences = CompareStatesWithImage(settings, current, other);
        QCOMPARE(differences.size(), 2);
        QCOMPARE(differences.at(0).index, 1);
        QCOMPARE(differences.at(0).thisText, QStringLiteral("off"));
        QCOMPARE(differences.at(0).other.text, QStringLiteral("on"));
        QCOMPARE(*differences.at(0).otherState, ControlState::Checked(true));
        QCOMPARE(differences.at(1).index, 3);
        QCOMPARE(*differences.at(1).otherState, ControlState::Text("7"));

        // A setting only one side can show differs; one neither side can show does not.
        current = {std::nullopt, ControlState::ListPosition(2), ControlState::Text("7"), ControlState::Text("AB")};
        const QVector<StateDifference> oneSided = CompareStatesWithImage(settings, current, other);
        QCOMPARE(oneSided.size(), 1);
        QVERIFY(oneSided.at(0).index == 1 && oneSided.at(0).otherState.has_value());
        const SettingList unshowable{ValueList(0, 0x0C, {4})};
        QCOMPARE(CompareStatesWithImage(unshowable, {std::nullopt}, other).size(), 0);
    }

    void imageMustHoldEverySetting()
    {
        const SettingList settings{Int8(0), AnsiString(2, 4)};
        QVERIFY(ImageHoldsSettings(settings, 6));
        QVERIFY(!ImageHoldsSettings(settings, 5));
        QVERIFY(ImageHoldsSettings({}, 0));
    }
};

QTEST_GUILESS_MAIN(TestSettingSearch)
#include "tst_settingsearch.moc"
