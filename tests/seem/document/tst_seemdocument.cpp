// The open document without windows: names, values as read and as edited, restores,
// profiles and the save.
#include "seem/document/SeemDocument.h"
#include "support/SeemFixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A check box and a list over byte 0, a number at 1, a text at 2..9, and 25 check boxes
// in one group: more than a page of the window holds.
SettingList Settings()
{
    using namespace SeemFixtures;
    SettingStruct volume = ValueList(0, 0x30, {0, 16, 32});
    volume.ValueNames = JoinValues({QStringLiteral("Low"), QStringLiteral("Mid"), QStringLiteral("High")});
    SettingList list{Named(Checkbox(0, 0x01, 1, 0), "Beep", "Sound"), Named(volume, "Volume", " Sound "),
                     Named(Int8(1), "Timeout", "Display"), Named(AnsiString(2, 8), "Greeting", "Display")};
    for (int k = 0; k < 25; ++k) {
        SettingStruct s = Named(Checkbox(10 + k / 8, quint8(1 << (k % 8)), 1 << (k % 8), 0), "", "Features");
        s.Name = QStringLiteral("F%1").arg(k);
        list.append(s);
    }
    SettingStruct odd = Named(Int8(19), "Odd", "Features");
    odd.Type = 9;   // a type no save writes
    list.append(odd);
    return list;
}

QByteArray Image()
{
    return QByteArray::fromHex("11C8"
                               "4142430058595A57"
                               "0000000000000000"
                               "00000000");
}

}   // namespace

class tst_SeemDocument : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_path;

    void open(SeemDocument &doc)
    {
        m_path = m_dir.filePath(QStringLiteral("0032_0001.seem"));
        QFile f(m_path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(Image());
        f.close();
        auto file = std::make_unique<SeemFile>();
        file->open(m_path);
        doc.load(std::move(file), QStringLiteral("x.sec"), SettingFileHeader(), Settings());
        QCOMPARE(doc.restoreAll().index, 0);
    }

    QByteArray onDisk()
    {
        QFile f(m_path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void namesAreTheFilesOwn()
    {
        SeemDocument doc;
        open(doc);
        QCOMPARE(doc.fullName(2), QStringLiteral("Sound\\Volume"));
        // The 25th setting of a group is named after its group, whatever page shows it.
        QCOMPARE(doc.fullName(29), QStringLiteral("Features\\F24"));
        QCOMPARE(doc.settingsOfGroup(QStringLiteral("Features")).size(), 26);
        QVERIFY(doc.profileJson().contains("\"group\": \"Features\""));
    }

    void editsDifferUntilTheyMatchTheFileAgain()
    {
        SeemDocument doc;
        open(doc);
        QSignalSpy states(&doc, &SeemDocument::statesChanged);
        QCOMPARE(doc.state(2), ControlState::ListPosition(1));
        doc.setState(3, ControlState::Text(QStringLiteral("7")));
        doc.setState(1, ControlState::Checked(false));
        QCOMPARE(doc.changedSettings(), (QVector<int>{1, 3}));
        QVERIFY(doc.isModified());
        // Back to what the file holds: nothing is changed, nothing asks to be saved.
        doc.setStates({{3, ControlState::Text(QStringLiteral("200"))}, {1, ControlState::Checked(true)}});
        QVERIFY(!doc.isModified());
        QCOMPARE(doc.changedCount(), 0);
        QCOMPARE(states.size(), 3);
        // An edit of a type no save writes never counts.
        doc.setState(30, ControlState::ListPosition(0));
        QVERIFY(!doc.isModified());
    }

    void restoreGroupAndAll()
    {
        SeemDocument doc;
        open(doc);
        doc.setState(1, ControlState::Checked(false));
        doc.setState(4, ControlState::Text(QStringLiteral("Hi")));
        doc.restore(doc.settingsOfGroup(QStringLiteral("Display")));
        QCOMPARE(doc.changedSettings(), QVector<int>{1});
        QCOMPARE(doc.state(4).text, QStringLiteral("ABC"));
        doc.restoreAll();
        QVERIFY(!doc.isModified());
    }

    // Many settings restore from one read of the image: those past its end still fail
    // one by one, the others read what they read alone.
    void restoreOfManyReadsLikeOneByOne()
    {
        SeemDocument doc;
        open(doc);
        SettingList settings = Settings();
        for (int k = 0; k < 10; ++k)
            settings.append(Named(SeemFixtures::Int8(100 + k), "Past", "End"));
        auto file = std::make_unique<SeemFile>();
        file->open(m_path);
        doc.load(std::move(file), QStringLiteral("x.sec"), SettingFileHeader(), settings);
        const SeemDocument::RestoreFailure failure = doc.restoreAll();
        QCOMPARE(failure.index, 31);
        QVERIFY(!doc.isRestored(40) && doc.isRestored(29));
        QCOMPARE(doc.state(2), ControlState::ListPosition(1));
        QCOMPARE(doc.state(4).text, QStringLiteral("ABC"));
        QCOMPARE(doc.state(3).text, QStringLiteral("200"));
    }

    void saveWritesOnlyTheChangedAndCountsThem()
    {
        SeemDocument doc;
        open(doc);
        doc.setState(3, ControlState::Text(QStringLiteral("007")));
        doc.setState(29, ControlState::Checked(true));
        doc.setState(30, ControlState::ListPosition(0));
        QCOMPARE(doc.save(), 2);
        QByteArray expected = Image();
        expected[1] = 7;
        expected[13] = 0x01;
        QCOMPARE(onDisk(), expected);
        // The saved values read as the file now holds them.
        QCOMPARE(doc.state(3).text, QStringLiteral("7"));
        QVERIFY(!doc.isModified());
        // A value the save cannot write names its setting and writes nothing.
        doc.setState(3, ControlState::Text(QStringLiteral("300")));
        QCOMPARE(doc.firstUnwritable(), 3);
        try {
            doc.save();
            QFAIL("saved a number outside 0..255");
        } catch (const SettingWriteError &e) {
            QCOMPARE(e.settingIndex, 3);
        }
        QCOMPARE(onDisk(), expected);
    }

    void profilesApplyByTheirFullNames()
    {
        SeemDocument doc;
        open(doc);
        const QVector<ValueAssignment> assignments{
            {QStringLiteral("a"), QStringLiteral("Features\\F24"), QStringLiteral("on")},
            {QStringLiteral("b"), QStringLiteral("Sound\\Volume"), QStringLiteral("High")}};
        const SeemDocument::ProfileStates applied = doc.profileStates(assignments);
        QVERIFY(applied.accepted());
        QCOMPARE(applied.states.size(), 2);
        QVERIFY(!doc.isModified());   // nothing changes before the states are taken
        doc.setStates(applied.states);
        QCOMPARE(doc.changedSettings(), (QVector<int>{2, 29}));

        const SeemDocument::ProfileStates refused =
            doc.profileStates({{QStringLiteral("c"), QStringLiteral("Features (2)\\F24"), QStringLiteral("on")}});
        QCOMPARE(refused.problems.size(), 1);
        QCOMPARE(refused.problems.first().kind, AssignmentProblem::UnknownName);
    }
};

QTEST_GUILESS_MAIN(tst_SeemDocument)
#include "tst_seemdocument.moc"
