// Setting files under a real git, set up with the lines README.md gives: branches that
// changed different settings merge by themselves into what merge-sec makes of them, a
// conflict stops the merge with the conflict listed and the file as it was, and git diff
// names the setting changed.
#include "core/SettingFile.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int status = -1;
    QString output;   // standard output and error together
};

SettingList Generated()
{
    SettingList settings;
    for (int i = 1; i <= 200; ++i) {
        SettingStruct s;
        s.Type = quint8(SettingType::Int8);
        s.Group = QStringLiteral("G%1").arg(i % 7);
        s.Name = QStringLiteral("S%1").arg(i);
        s.Offset = i;
        s.Description = QStringLiteral("setting %1").arg(i);
        settings << s;
    }
    return settings;
}

// A repository in a temporary folder, with a home and global configuration of its own:
// nothing of the user's git configuration is read or written.
class Repository
{
public:
    QTemporaryDir dir;

    Repository()
    {
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
        m_environment.insert(QStringLiteral("GIT_CONFIG_GLOBAL"), dir.filePath(QStringLiteral("home/gitconfig")));
        m_environment.insert(QStringLiteral("GIT_CONFIG_NOSYSTEM"), QStringLiteral("1"));
        m_environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        for (const char *who : {"AUTHOR", "COMMITTER"}) {
            m_environment.insert(QStringLiteral("GIT_%1_NAME").arg(QLatin1String(who)), QStringLiteral("Test"));
            m_environment.insert(QStringLiteral("GIT_%1_EMAIL").arg(QLatin1String(who)),
                                 QStringLiteral("test@example.org"));
        }
        QDir().mkpath(dir.filePath(QStringLiteral("home")));
        QDir().mkpath(dir.filePath(QStringLiteral("work")));
    }

    QString file(const QString &name) const { return dir.filePath(QStringLiteral("work/") + name); }

    Run git(const QStringList &arguments) const
    {
        QByteArray output;
        Run run;
        run.status = start(arguments, QProcess::MergedChannels, output);
        run.output = QString::fromUtf8(output);
        return run;
    }

    // The bytes of a file as a revision holds it.
    QByteArray show(const QString &revision) const
    {
        QByteArray bytes;
        return start({QStringLiteral("show"), revision}, QProcess::SeparateChannels, bytes) == 0 ? bytes : QByteArray();
    }

    void writeSec(SettingFileHeader header, const SettingList &settings) const
    {
        header.SettingCount = qint32(settings.size());
        WriteSettingFile(file(QStringLiteral("phone.sec")), header, settings);
    }

private:
    int start(const QStringList &arguments, QProcess::ProcessChannelMode channels, QByteArray &output) const
    {
        QProcess git;
        git.setProcessEnvironment(m_environment);
        git.setWorkingDirectory(file(QString()));
        git.setProcessChannelMode(channels);
        git.start(QStringLiteral("git"), arguments);
        const bool finished = git.waitForFinished(120000) && git.exitStatus() == QProcess::NormalExit;
        output = git.readAllStandardOutput();
        return finished ? git.exitCode() : -1;
    }

    QProcessEnvironment m_environment;
};

#define GIT(repository, ...)                                                                                           \
    do {                                                                                                               \
        const Run run_ = (repository).git(__VA_ARGS__);                                                                \
        QVERIFY2(run_.status == 0, qPrintable(run_.output));                                                           \
    } while (false)

}   // namespace

class TestGitDrivers : public QObject
{
    Q_OBJECT
private:
    SettingFileHeader m_header;

    // The repository set up as README.md's block says, brimvale-cli being the one built.
    void setUp(Repository &repository)
    {
        QFile readme(QStringLiteral(BVL_SOURCE_DIR "/README.md"));
        QVERIFY(readme.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(readme.readAll());
        const qsizetype section = text.indexOf(QStringLiteral("\n## Setting files under git\n"));
        QVERIFY(section >= 0);
        const qsizetype from = text.indexOf(QStringLiteral("```sh\n"), section) + 6;
        const QStringList lines = text.mid(from, text.indexOf(QStringLiteral("```"), from) - from)
                                      .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QRegularExpression attributes(QStringLiteral("^echo '(.*)' >> \\.gitattributes$"));
        const QRegularExpression config(QStringLiteral("^git config (\\S+) '(.*)'$"));
        GIT(repository, {QStringLiteral("init"), QStringLiteral("-q")});
        int configured = 0;
        for (const QString &line : lines) {
            if (const auto m = attributes.match(line); m.hasMatch()) {
                QVERIFY(
                    WriteFileBytes(repository.file(QStringLiteral(".gitattributes")), m.captured(1).toUtf8() + '\n'));
                continue;
            }
            const auto m = config.match(line);
            QVERIFY2(m.hasMatch(), qPrintable(line));
            QString value = m.captured(2);
            value.replace(QStringLiteral("brimvale-cli "), QStringLiteral("'" BVL_CLI_PROGRAM "' "));
            GIT(repository, {QStringLiteral("config"), m.captured(1), value});
            ++configured;
        }
        QCOMPARE(configured, 4);
        repository.writeSec(m_header, Generated());
        GIT(repository, {QStringLiteral("add"), QStringLiteral(".gitattributes"), QStringLiteral("phone.sec")});
        GIT(repository, {QStringLiteral("commit"), QStringLiteral("-q"), QStringLiteral("-m"), QStringLiteral("base")});
        GIT(repository, {QStringLiteral("branch"), QStringLiteral("-M"), QStringLiteral("main")});
    }

    // Commits settings on a new branch from main, then settings on main.
    void diverge(const Repository &repository, const SettingList &onBranch, const SettingList &onMain)
    {
        GIT(repository,
            {QStringLiteral("checkout"), QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("side")});
        repository.writeSec(m_header, onBranch);
        GIT(repository,
            {QStringLiteral("commit"), QStringLiteral("-q"), QStringLiteral("-am"), QStringLiteral("side")});
        GIT(repository, {QStringLiteral("checkout"), QStringLiteral("-q"), QStringLiteral("main")});
        repository.writeSec(m_header, onMain);
        GIT(repository,
            {QStringLiteral("commit"), QStringLiteral("-q"), QStringLiteral("-am"), QStringLiteral("main")});
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("git")).isEmpty())
            QSKIP("git is not on PATH: the drivers are tested under a real git only");
        m_header.Magic = SettingFileFormat::Magic;
        m_header.FileVersion = SettingFileFormat::Version;
        m_header.ProgramVersion = QStringLiteral("1.0.0");
        m_header.SEEMNr = 0x32;
        m_header.SEEMRec = 1;
    }

    void changesToDifferentSettingsMergeByThemselves()
    {
        Repository repository;
        setUp(repository);
        QVERIFY(!QTest::currentTestFailed());
        SettingList onBranch = Generated(), onMain = Generated();
        onBranch[9].Description = QStringLiteral("branch");
        onMain[149].BitMask = 0x0F;
        onMain.removeAt(30);
        diverge(repository, onBranch, onMain);
        QVERIFY(!QTest::currentTestFailed());

        const Run diff = repository.git({QStringLiteral("diff"), QStringLiteral("main~1"), QStringLiteral("side")});
        QCOMPARE(diff.status, 0);
        QVERIFY2(diff.output.contains(QStringLiteral(" @@ setting G3\\S10\n")), qPrintable(diff.output));
        QVERIFY2(diff.output.contains(QStringLiteral("\n+  Description: branch\n")), qPrintable(diff.output));

        const Run merge = repository.git(
            {QStringLiteral("merge"), QStringLiteral("-q"), QStringLiteral("--no-edit"), QStringLiteral("side")});
        QVERIFY2(merge.status == 0, qPrintable(merge.output));
        const QString version[] = {repository.file(QStringLiteral("base.sec")),
                                   repository.file(QStringLiteral("main.sec")),
                                   repository.file(QStringLiteral("side.sec"))};
        const char *revisions[] = {"main~2:phone.sec", "main~1:phone.sec", "side:phone.sec"};
        for (int i = 0; i < 3; ++i)
            QVERIFY(WriteFileBytes(version[i], repository.show(QLatin1String(revisions[i]))));
        const QString out = repository.file(QStringLiteral("expected.sec"));
        const CliResult cli = RunCliCaptured(
            {QStringLiteral("merge-sec"), version[0], version[1], version[2], QStringLiteral("-o"), out});
        QCOMPARE(cli.status, 0);
        QCOMPARE(FileBytes(repository.file(QStringLiteral("phone.sec"))), FileBytes(out));
        SettingFileHeader header;
        SettingList merged;
        ReadSettingFile(out, header, merged);
        QCOMPARE(merged.size(), 199);
        QCOMPARE(merged[9].Description, QStringLiteral("branch"));
        QCOMPARE(merged[148].BitMask, quint8(0x0F));
    }

    void aConflictStopsTheMerge()
    {
        Repository repository;
        setUp(repository);
        QVERIFY(!QTest::currentTestFailed());
        SettingList onBranch = Generated(), onMain = Generated();
        onBranch[19].Description = QStringLiteral("branch");
        onMain[19].Description = QStringLiteral("main");
        diverge(repository, onBranch, onMain);
        QVERIFY(!QTest::currentTestFailed());
        const QByteArray mine = FileBytes(repository.file(QStringLiteral("phone.sec")));

        const Run merge =
            repository.git({QStringLiteral("merge"), QStringLiteral("--no-edit"), QStringLiteral("side")});
        QVERIFY2(merge.status != 0, qPrintable(merge.output));
        QVERIFY2(merge.output.contains(QStringLiteral("conflict: G6\\S20 (base #20, ours #20, theirs #20)")),
                 qPrintable(merge.output));
        QVERIFY2(merge.output.contains(QStringLiteral("Description: base \"setting 20\", ours \"main\", theirs "
                                                      "\"branch\"")),
                 qPrintable(merge.output));
        QCOMPARE(FileBytes(repository.file(QStringLiteral("phone.sec"))), mine);
        const Run status = repository.git({QStringLiteral("status"), QStringLiteral("--porcelain")});
        QVERIFY2(status.output.contains(QStringLiteral("UU phone.sec")), qPrintable(status.output));
    }
};

QTEST_GUILESS_MAIN(TestGitDrivers)
#include "tst_gitdrivers.moc"
