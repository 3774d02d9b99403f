// The program's command line: nothing, one SEEM file opened after start-up as the Open
// command opens it, and the command lines the program refuses before any window exists.
#include "core/Conversions.h"
#include "support/MainFixtures.h"
#include "ui/StartArguments.h"

#include <QLabel>
#include <QProcess>
#include <QtTest>

using namespace MainFixtures;
using Kind = ScriptedPlatform::Kind;

namespace {
// A program folder in English with sample.sec (SEEM 32_1) and 0032_0001.seem, and a
// main window that has not started yet.
struct Unstarted : UnstartedWindow
{
    QString secPath;
    Unstarted()
    {
        platform.preferences.insert("Lang/Language", folder.copyLanguage("english.sel"));
        secPath = folder.writeSec("sample.sec", Header(0x32, 1), SampleSettings());
        folder.writeBytes("0032_0001.seem", SampleImage());
    }
    bool start(const QStringList &arguments)
    {
        const StartArguments parsed = ParseStartArguments(QStringList("brimvale-edit") + arguments);
        return !parsed.exitStatus && StartMainWindow(window, parsed);
    }
};
}   // namespace

class TestStartArguments : public QObject
{
    Q_OBJECT
private slots:
    void noArgumentStartsAsBefore()
    {
        Unstarted s;
        QVERIFY(s.start({}));
        QVERIFY(s.window.isVisible());
        QVERIFY(s.platform.calls.isEmpty());
        QCOMPARE(s.window.Document->seemPath(), QString());
        QVERIFY(s.window.Settings.isEmpty());
        QCOMPARE(s.window.lbFileDesc->text(), QString());
    }

    // A relative name counts from the working folder and ends up a full path, as the dialog gives.
    void oneFileIsOpenedWithItsSettingFile()
    {
        Unstarted s;
        const QString before = QDir::currentPath();
        QDir::setCurrent(s.folder.dir.path());
        const bool started = s.start({"0032_0001.seem"});
        QDir::setCurrent(before);
        QVERIFY(started);
        QVERIFY(s.platform.callsOf(Kind::OpenFile).isEmpty());
        QCOMPARE(s.platform.messages(), QStringList());
        QCOMPARE(s.window.Document->seemPath(), s.folder.file("0032_0001.seem"));
        QCOMPARE(s.window.Document->settingPath(), s.secPath);
        QCOMPARE(s.window.Settings.size(), SampleSettings().size());
        QVERIFY(s.window.lbFileDesc->text().contains("(SEEM 32_1). By Ann"));
        QVERIFY(s.window.IsSaved());
    }

    void missingFileIsReportedAndTheWindowStays()
    {
        Unstarted s;
        QVERIFY(s.start({s.folder.file("gone/0032_0001.seem")}));
        QCOMPARE(s.platform.messages(), QStringList("mnfOpenSEEM ERR 53"));
        QVERIFY(s.window.isVisible());
        QCOMPARE(s.window.Document->seemPath(), QString());
        QVERIFY(s.window.Settings.isEmpty());
        QVERIFY(!s.window.mnfSaveSEEM->isEnabled());
    }

    void endsBeforeAnyWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("printed");
        const QString usage = "Usage: brimvale-edit [--help] [--version] [SEEM file]\n";
        QTest::newRow("two files") << QStringList{"a.seem", "b.seem"} << 2
                                   << "brimvale-edit: one SEEM file at most, 2 given.\n" + usage;
        QTest::newRow("unknown option") << QStringList{"--frob", "a.seem"} << 2
                                        << "brimvale-edit: Unknown option 'frob'.\n" + usage;
        QTest::newRow("help") << QStringList{"--help"} << 0 << usage;
        QTest::newRow("version") << QStringList{"-v"} << 0 << "brimvale-edit (Brimvale Edit) " + VersionString() + "\n";
    }
    void endsBeforeAnyWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, printed);
        const StartArguments parsed = ParseStartArguments(QStringList("brimvale-edit") + arguments);
        QCOMPARE(parsed.exitStatus, std::optional<int>(status));
        QVERIFY2(parsed.message.startsWith(printed), qPrintable(parsed.message));
        QCOMPARE(parsed.seemPath, QString());
    }

    // Help, the version and a refused command line are for a terminal, a package build or a
    // server too: the program itself answers them with no display to connect to.
    void answersNeedNoDisplay()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name :
             {QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("QT_QPA_PLATFORM")})
            environment.remove(name);
        const QString usage = QStringLiteral("Usage: brimvale-edit [--help] [--version] [SEEM file]\n");
        struct Asked
        {
            QString argument;
            int status;
            QString printed;   // on standard output for status 0, else on standard error
        };
        const QList<Asked> asked = {
            {QStringLiteral("--help"), 0, usage},
            {QStringLiteral("--version"), 0,
             QStringLiteral("brimvale-edit (Brimvale Edit) ") + VersionString() + QLatin1Char('\n')},
            {QStringLiteral("--bogus"), 2, QStringLiteral("brimvale-edit: Unknown option 'bogus'.\n") + usage},
        };
        for (const Asked &question : asked) {
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(BVL_EDIT_PROGRAM), {question.argument});
            QVERIFY(program.waitForFinished(60000));
            const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
            const QString err = QString::fromLocal8Bit(program.readAllStandardError());
            QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == question.status,
                     qPrintable(err));
            QVERIFY2((question.status == 0 ? out : err).startsWith(question.printed), qPrintable(out + err));
        }
        // A toolkit option may make the line a good one: the application object is asked first.
        QVERIFY(MayHoldToolkitOption({"brimvale-edit", "-platform", "offscreen", "--bogus"}));
        QVERIFY(!MayHoldToolkitOption({"brimvale-edit", "-v", "--bogus", "--", "-style"}));
    }
};

QTEST_MAIN(TestStartArguments)
#include "tst_startarguments.moc"
