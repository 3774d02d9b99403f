// brimvale-cli and the per-user folder: `list` prints what both folders hold, and the
// automatic choice takes a user's own setting file before a shipped one.
#include "support/CliRun.h"
#include "support/MainFixtures.h"
#include "ui/settingfiles/bvlSettingFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTreeWidget>
#include <QtTest>

using namespace MainFixtures;

class TestCliList : public QObject
{
    Q_OBJECT
private slots:
    void listShowsBothFoldersUserFirst();
    void userSettingFileWinsUnlessSecDirIsGiven();
    void choiceListAndWindowTakeOneOrder();
};

void TestCliList::listShowsBothFoldersUserFirst()
{
    ProgramFolder program;
    ProgramFolder user;
    program.writeSec(QStringLiteral("shipped.sec"), Header(0x32, 1, QStringLiteral("Ann")), SampleSettings());
    user.writeSec(QStringLiteral("mine.sec"), Header(0x1F, 0x2A, QStringLiteral("Me")), SampleSettings());
    user.writeBytes(QStringLiteral("broken.sec"), "sec\x03");

    const CliResult text = RunCliCaptured({QStringLiteral("list")}, program.dir.path(), user.dir.path());
    QCOMPARE(text.status, 0);
    const QStringList lines = text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[0].startsWith(QStringLiteral("FILE")));
    QVERIFY(lines[0].contains(QStringLiteral("CHECK")));
    QVERIFY(lines[1].startsWith(QStringLiteral("broken.sec")));
    QVERIFY(lines[1].contains(QStringLiteral("unreadable: ends before its last record")));
    QCOMPARE(lines[2].simplified(), QStringLiteral("mine.sec per-user 1F 2A Demo phone Me 6 ok"));
    QCOMPARE(lines[3].simplified(), QStringLiteral("shipped.sec shipped 32 1 Demo phone Ann 6 ok"));

    const CliResult json = RunCliCaptured({QStringLiteral("list"), QStringLiteral("--format"), QStringLiteral("json")},
                                          program.dir.path(), user.dir.path());
    QCOMPARE(json.status, 0);
    const QJsonArray files =
        QJsonDocument::fromJson(json.out.toUtf8()).object().value(QStringLiteral("files")).toArray();
    QCOMPARE(files.size(), 3);
    QCOMPARE(files[0].toObject().value(QStringLiteral("reason")).toString(),
             QStringLiteral("ends before its last record"));
    const QJsonObject mine = files[1].toObject();
    QCOMPARE(mine.value(QStringLiteral("folder")).toString(), QStringLiteral("per-user"));
    QCOMPARE(mine.value(QStringLiteral("seem")).toString(), QStringLiteral("1F"));
    QCOMPARE(mine.value(QStringLiteral("record")).toString(), QStringLiteral("2A"));
    QCOMPARE(mine.value(QStringLiteral("settings")).toInt(), 6);
    QCOMPARE(mine.value(QStringLiteral("errors")).toInt(), 0);
    QCOMPARE(mine.value(QStringLiteral("path")).toString(), user.file(QStringLiteral("mine.sec")));
    QCOMPARE(files[2].toObject().value(QStringLiteral("folder")).toString(), QStringLiteral("shipped"));
}

void TestCliList::userSettingFileWinsUnlessSecDirIsGiven()
{
    ProgramFolder program;
    ProgramFolder user;
    SettingList renamed = SampleSettings();
    renamed[0].Name = QStringLiteral("My beep");
    program.writeSec(QStringLiteral("a.sec"), Header(0x32, 1, QStringLiteral("Ann")), SampleSettings());
    user.writeSec(QStringLiteral("z.sec"), Header(0x32, 1, QStringLiteral("Me")), renamed);
    const QString image = program.writeBytes(QStringLiteral("0032_0001.seem"), SampleImage());
    const QStringList show{QStringLiteral("show"), QStringLiteral("--format=json"), image};

    const auto firstName = [](const CliResult &r) {
        return QJsonDocument::fromJson(r.out.toUtf8())
            .object()
            .value(QStringLiteral("settings"))
            .toArray()
            .first()
            .toObject()
            .value(QStringLiteral("name"))
            .toString();
    };
    const CliResult both = RunCliCaptured(show, program.dir.path(), user.dir.path());
    QCOMPARE(both.status, 0);
    QCOMPARE(firstName(both), QStringLiteral("My beep"));
    // Without a per-user folder (or with an empty one) the shipped file is taken.
    QCOMPARE(firstName(RunCliCaptured(show, program.dir.path())), QStringLiteral("Beep"));
    // --sec-dir still names the one folder looked in.
    const CliResult secDir = RunCliCaptured({QStringLiteral("show"), QStringLiteral("--format=json"),
                                             QStringLiteral("--sec-dir"), program.dir.path(), image},
                                            program.dir.path(), user.dir.path());
    QCOMPARE(firstName(secDir), QStringLiteral("Beep"));

    // Nothing fits: the message names both folders.
    const CliResult none =
        RunCliCaptured({QStringLiteral("show"), program.writeBytes(QStringLiteral("0040_0001.seem"), SampleImage())},
                       program.dir.path(), user.dir.path());
    QCOMPARE(none.status, 1);
    QVERIFY(none.err.contains(user.dir.path() + QStringLiteral(" or ") + program.dir.path()));
}

// Names that differ in letter case only in the order: the first file `list` and the
// Setting files window show for a SEEM and record is the one the window and `show` take.
void TestCliList::choiceListAndWindowTakeOneOrder()
{
    ProgramFolder program;
    ProgramFolder user;
    const QStringList names{QStringLiteral("b.sec"), QStringLiteral("a.sec"), QStringLiteral("B.sec")};
    for (const QString &name : names) {
        SettingList settings = SampleSettings();
        settings[0].Name = QStringLiteral("Beep of ") + name;
        program.writeSec(name, Header(0x32, 1, QStringLiteral("Shipped")), settings);
        user.writeSec(name, Header(0x32, 1, QStringLiteral("Mine")), settings);
    }
    const QStringList order{QStringLiteral("B.sec"), QStringLiteral("a.sec"), QStringLiteral("b.sec")};

    const CliResult list = RunCliCaptured({QStringLiteral("list")}, program.dir.path(), user.dir.path());
    QStringList listed;
    for (const QString &line : list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1))
        listed << line.simplified().section(QLatin1Char(' '), 0, 1);
    QStringList expected;
    for (const QString &folder : {QStringLiteral("per-user"), QStringLiteral("shipped")})
        for (const QString &name : order)
            expected << name + QLatin1Char(' ') + folder;
    QCOMPARE(listed, expected);

    const QString image = program.writeBytes(QStringLiteral("0032_0001.seem"), SampleImage());
    const CliResult show = RunCliCaptured({QStringLiteral("show"), image}, program.dir.path(), user.dir.path());
    QVERIFY2(show.out.contains(QStringLiteral("Beep of B.sec")), qPrintable(show.out));

    ScriptedPlatform platform;
    platform.folder = program.dir.path();
    platform.user = user.dir.path();
    platform.preferences.insert(QStringLiteral("Lang/Language"), program.copyLanguage(QStringLiteral("english.sel")));
    AppContext ctx(platform);
    bvlMain window(ctx);
    QVERIFY(window.Form_Load());
    platform.answerFile(image);
    window.mnfOpenSEEM_Click();
    QCOMPARE(window.Document->settingPath(), user.file(QStringLiteral("B.sec")));

    bvlSettingFiles files(ctx, &window);
    QStringList shown;
    for (int row = 0; row < files.lsFiles->topLevelItemCount(); ++row)
        shown << files.lsFiles->topLevelItem(row)->text(bvlSettingFiles::FileColumn);
    QCOMPARE(shown, order + order);
}

QTEST_MAIN(TestCliList)
#include "tst_clilist.moc"
