// brimvale-cli's --code-page: setting files and ANSI string settings in another code page.
#include "core/CodePage.h"
#include "support/CliRun.h"
#include "support/MainFixtures.h"

#include <QtTest>

using namespace MainFixtures;

class TestCliCodePage : public QObject
{
    Q_OBJECT
private slots:
    void cyrillicSettingFileAndImage()
    {
        ProgramFolder folder;
        // Written in Windows-1251, as a Cyrillic community's program would have.
        SettingFileHeader header = Header(0x32, 1, QStringLiteral("\u0418\u0432\u0430\u043D"));
        {
            CodePage::Scope cyrillic(1251);
            folder.writeSec(
                QStringLiteral("ru.sec"), header,
                {Named(SeemFixtures::AnsiString(0, 8), QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442"),
                       QStringLiteral("\u042D\u043A\u0440\u0430\u043D"))});
        }
        const QString image =
            folder.writeBytes(QStringLiteral("0032_0001.seem"), QByteArray("\xC4\xE0\0\0\0\0\0\0", 8));
        const auto run = [&](const QStringList &arguments) { return RunCliCaptured(arguments, folder.dir.path()); };

        CliResult shown = run({QStringLiteral("show"), QStringLiteral("--code-page"), QStringLiteral("1251"), image});
        QCOMPARE(shown.status, 0);
        QVERIFY2(shown.out.contains(QStringLiteral(
                     "\u042D\u043A\u0440\u0430\u043D  \u041F\u0440\u0438\u0432\u0435\u0442  \u0414\u0430")),
                 qPrintable(shown.out));

        // The same bytes in the default code page are Latin letters.
        shown = run({QStringLiteral("show"), image});
        QCOMPARE(shown.status, 0);
        QVERIFY2(shown.out.contains(QStringLiteral("\u00C4\u00E0")), qPrintable(shown.out));

        const QString assignment = QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442=\u041C\u0438\u0440");
        CliResult set = run({QStringLiteral("set"), image, assignment});
        QCOMPARE(set.status, 1);   // no such setting name in Windows-1252, and no such letters
        set = run(
            {QStringLiteral("set"), QStringLiteral("--code-page"), QStringLiteral("windows-1251"), image, assignment});
        QCOMPARE(set.status, 0);
        QCOMPARE(folder.bytes(QStringLiteral("0032_0001.seem")), QByteArray("\xCC\xE8\xF0\0\0\0\0\0", 8));
        QCOMPARE(CodePage::Current(), CodePage::Default);   // for this run only
    }

    void refusesACodePageNotOffered()
    {
        for (const QString &value : {QStringLiteral("1255"), QStringLiteral("utf-8"), QString()}) {
            const CliResult r = RunCliCaptured(
                {QStringLiteral("check"), QStringLiteral("--code-page"), value, QStringLiteral("x.sec")});
            QCOMPARE(r.status, 2);
            QVERIFY2(r.err.contains(QStringLiteral("1252, 1250, 1251, 1253, 1254, 1257")), qPrintable(r.err));
        }
        const CliResult help = RunCliCaptured({QStringLiteral("show"), QStringLiteral("--help")});
        QVERIFY(help.out.contains(QStringLiteral("--code-page")));
    }
};

QTEST_GUILESS_MAIN(TestCliCodePage)
#include "tst_clicodepage.moc"
