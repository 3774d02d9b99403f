// brimvale-cli and the journaled save: changes told only once they are on the disk, the
// reason of every failure, interrupted saves put back by any command, one writer at a time.
#include "seem/files/SaveJournal.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"
#include "support/MainFixtures.h"
#include "support/SaveFaults.h"

#include <QProcess>
#include <QtTest>

using namespace MainFixtures;
using namespace SaveFaults;

namespace {

QString Quoted(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

struct Sample
{
    ProgramFolder folder;
    QString image;
    Sample()
    {
        folder.writeSec(QStringLiteral("sample.sec"), Header(0x32, 1), SampleSettings());
        image = folder.writeBytes(QStringLiteral("0032_0001.seem"), SampleImage());
    }
    CliResult run(const QStringList &arguments) const { return RunCliCaptured(arguments, folder.dir.path()); }
    // Beep off (byte 0) and roaming off (byte 18): two runs.
    CliResult setTwo() const
    {
        return run({QStringLiteral("set"), image, QStringLiteral("Beep=off"), QStringLiteral("Roaming=off")});
    }
};

}   // namespace

class TestCliSave : public QObject
{
    Q_OBJECT

private slots:
    void init() { NoFaults(); }
    void changesAreToldOnlyOnceOnTheDisk_data();
    void changesAreToldOnlyOnceOnTheDisk();
    void lockedImageIsRefused();
    void twoSetsAtOnceNeverLoseAChange();
    void everyCommandPutsBackAnInterruptedSave();
    void unusableJournalIsLeftAloneWithAWarning();
    void journalOfAnotherFileLeavesTheImageAlone();
    void longTextIsReportedInBoundedLines();
    void runningOutOfMemoryNeverUnsaysASave();
    void imageReplacedDuringTheSaveIsNoSuccess();
};

void TestCliSave::changesAreToldOnlyOnceOnTheDisk_data()
{
    QTest::addColumn<int>("failingChange");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("told");
    QTest::newRow("saved") << 0 << 0 << QString();
    // %1 is the image, in double quotes.
    QTest::newRow("no journal") << IndexFirst + 2 << int(ENOSPC)
                                << "Nothing was saved: no journal can be written beside %1 (No space left on device), "
                                   "and without one a crash during the save could damage the file. Your changes are "
                                   "kept.";
    QTest::newRow("write fails") << IndexFirst + 7 << int(EIO)
                                 << "Saving %1 failed: Input/output error. What had been written was put back: the "
                                    "file is unchanged. Your changes are kept.";
    QTest::newRow("fsync fails") << IndexFirst + 8 << int(EIO)
                                 << "Saving %1 failed: the written bytes could not be made safe on the disk "
                                    "(Input/output error). They were put back: the file is unchanged. Your changes "
                                    "are kept.";
}

void TestCliSave::changesAreToldOnlyOnceOnTheDisk()
{
    QFETCH(int, failingChange);
    QFETCH(int, error);
    QFETCH(QString, told);
    Sample sample;
    if (failingChange > 0)
        FailFrom(failingChange, error, 1);
    const CliResult r = sample.setTwo();
    NoFaults();
    if (told.isEmpty()) {
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral("Sound\\Beep: \"on\" -> \"off\" (byte 0 (0x0): 11 -> 10)\n"
                                       "Net\\Roaming: \"on\" -> \"off\" (byte 18 (0x12): 80 -> 00)\n"));
        QCOMPARE(FileBytes(sample.image).at(18), '\0');
        return;
    }
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err, QStringLiteral("brimvale-cli: %1\n").arg(told.arg(Quoted(sample.image))));
    QCOMPARE(FileBytes(sample.image), SampleImage());
    QVERIFY(!QFileInfo::exists(JournalPathOf(sample.image)));
}

void TestCliSave::lockedImageIsRefused()
{
    Sample sample;
    const HeldLock other(sample.image);
    QVERIFY(other.held);
    const CliResult r = sample.setTwo();
    QCOMPARE(r.status, 1);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err,
             QStringLiteral("brimvale-cli: %1: is being saved by another program; try again\n").arg(sample.image));
    QCOMPARE(FileBytes(sample.image), SampleImage());
}

void TestCliSave::twoSetsAtOnceNeverLoseAChange()
{
    // Beep (bit 0) and volume (bits 4-5) share byte 0: a second writer that went unseen
    // would write back the other's bit as it was.
    Sample sample;
    int bothSaved = 0;
    for (int round = 0; round < 20; ++round) {
        QVERIFY(WriteFileBytes(sample.image, SampleImage()));
        int gate[2];
        QCOMPARE(::pipe(gate), 0);
        pid_t children[2];
        const QStringList assignments{QStringLiteral("Beep=off"), QStringLiteral("Volume=High")};
        for (int i = 0; i < 2; ++i) {
            children[i] = ::fork();
            if (children[i] == 0) {
                ::close(gate[1]);
                char go;
                ::read(gate[0], &go, 1);   // both start when the gate closes
                ::_exit(sample.run({QStringLiteral("set"), sample.image, assignments.at(i)}).status);
            }
        }
        ::close(gate[0]);
        ::close(gate[1]);
        int status[2];
        for (int i = 0; i < 2; ++i) {
            ::waitpid(children[i], &status[i], 0);
            QVERIFY(WIFEXITED(status[i]));
            status[i] = WEXITSTATUS(status[i]);
        }
        const quint8 byte0 = quint8(FileBytes(sample.image).at(0));
        const bool beepSaved = (byte0 & 0x01) == 0;
        const bool volumeSaved = (byte0 & 0x30) == 0x20;
        QVERIFY2(status[0] + status[1] <= 1, "neither set was saved");
        QCOMPARE(beepSaved, status[0] == 0);
        QCOMPARE(volumeSaved, status[1] == 0);
        bothSaved += status[0] == 0 && status[1] == 0;
    }
    qInfo("both saved, one after the other, in %d of 20 rounds", bothSaved);
}

void TestCliSave::everyCommandPutsBackAnInterruptedSave()
{
    Sample sample;
    QByteArray edited = SampleImage();
    edited[0] = 0x10;
    edited[18] = 0x00;
    for (const QString &command : {QStringLiteral("show"), QStringLiteral("diff"), QStringLiteral("set")}) {
        InterruptSave(sample.image, edited);
        QVERIFY(QFileInfo::exists(JournalPathOf(sample.image)));
        QStringList arguments{command, sample.image};
        if (command == QLatin1String("diff"))
            arguments << sample.image;
        if (command == QLatin1String("set"))
            arguments << QStringLiteral("Timeout=7");
        const CliResult r = sample.run(arguments);
        QCOMPARE(r.status, 0);
        QVERIFY2(
            r.err.startsWith(QStringLiteral("brimvale-cli: An earlier save of %1 was interrupted; the file has been "
                                            "put back as it was before that save.\n")
                                 .arg(Quoted(sample.image))),
            qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(JournalPathOf(sample.image)));
        QByteArray expected = SampleImage();
        if (command == QLatin1String("set"))
            expected[1] = 7;
        QCOMPARE(FileBytes(sample.image), expected);
    }
}

void TestCliSave::unusableJournalIsLeftAloneWithAWarning()
{
    Sample sample;
    QByteArray edited = SampleImage();
    edited[0] = 0x10;
    edited[18] = 0x00;
    InterruptSave(sample.image, edited);
    const QString journal = JournalPathOf(sample.image);
    QVERIFY(WriteFileBytes(journal, FileBytes(journal).left(50)));
    const QByteArray left = FileBytes(sample.image);

    const QString warning =
        QStringLiteral("brimvale-cli: warning: An earlier save of %1 was interrupted, and its journal %2 "
                       "cannot be used to put the file back now: the journal is incomplete or damaged. The journal "
                       "is left as it is, and the file is opened read-only.\n")
            .arg(Quoted(sample.image), Quoted(journal));
    const CliResult shown = sample.run({QStringLiteral("show"), sample.image});
    QCOMPARE(shown.status, 0);
    QCOMPARE(shown.err, warning);
    const CliResult set = sample.run({QStringLiteral("set"), sample.image, QStringLiteral("Timeout=7")});
    QCOMPARE(set.status, 1);
    QCOMPARE(set.err,
             warning + QStringLiteral("brimvale-cli: %1: is read-only; nothing was written\n").arg(sample.image));
    QCOMPARE(FileBytes(sample.image), left);
    QVERIFY(QFileInfo::exists(journal));
}

void TestCliSave::journalOfAnotherFileLeavesTheImageAlone()
{
    // Killed after its journal; then a fresh read-out of the same size is moved over the image.
    Sample sample;
    QByteArray edited = SampleImage();
    edited[0] = 0x10;
    edited[18] = 0x00;
    const QString journal = JournalPathOf(sample.image);
    InterruptSave(sample.image, edited);
    QByteArray fresh = SampleImage();
    fresh[1] = 9;
    const QString copy = sample.folder.writeBytes(QStringLiteral("fresh.seem"), fresh);
    QVERIFY(QFile::remove(sample.image) && QFile::rename(copy, sample.image));

    // The journal names the old file's device and inode: the new file is not its file,
    // and is shown and saved as it is; the journal stays for the old file's other names.
    const CliResult shown = sample.run({QStringLiteral("show"), sample.image});
    QCOMPARE(shown.status, 0);
    QCOMPARE(shown.err, QString());
    const CliResult set = sample.run({QStringLiteral("set"), sample.image, QStringLiteral("Timeout=7")});
    QCOMPARE(set.status, 0);
    fresh[1] = 7;
    QCOMPARE(FileBytes(sample.image), fresh);
    QVERIFY(QFileInfo::exists(journal));
}

void TestCliSave::longTextIsReportedInBoundedLines()
{
    // A field of 20,000 characters: the report lists its first bytes and counts the rest,
    // and writes the text whole.
    ProgramFolder folder;
    SettingStruct text = SeemFixtures::AnsiString(0, 20001);
    folder.writeSec(QStringLiteral("long.sec"), Header(0x32, 1),
                    {Named(text, QStringLiteral("Text"), QStringLiteral("Long"))});
    const QString image = folder.writeBytes(QStringLiteral("0032_0001.seem"), QByteArray(20001, '\0'));
    const QString value(20000, QLatin1Char('x'));
    const CliResult r =
        RunCliCaptured({QStringLiteral("set"), image, QStringLiteral("Text=") + value}, folder.dir.path());
    QCOMPARE(r.status, 0);
    QString listed;
    for (int i = 0; i < 32; ++i)
        listed += QStringLiteral("byte %1 (0x%2): 00 -> 78, ").arg(i).arg(QString::number(i, 16).toUpper());
    QCOMPARE(r.out, QStringLiteral("Long\\Text: \"\" -> \"%1\" (%2and 19968 more bytes up to byte 19999 (0x4E1F))\n")
                        .arg(value, listed));
    QCOMPARE(FileBytes(image), value.toLatin1() + QByteArray(1, '\0'));
}

void TestCliSave::runningOutOfMemoryNeverUnsaysASave()
{
#ifndef BVL_SANITIZED
    QSKIP("the allocation limit is the sanitizer's; make test builds with it");
#else
    // A text of 4,000,000 characters applied with ever larger allocations refused: at each
    // limit either the image changed and the command succeeded, or nothing was written and
    // it says so. Never a changed image with a failure, never a crash.
    ProgramFolder folder;
    folder.writeSec(QStringLiteral("long.sec"), Header(0x32, 1),
                    {Named(SeemFixtures::AnsiString(0, 4000001), QStringLiteral("Text"), QStringLiteral("Long"))});
    const QByteArray empty(4000001, '\0');
    const QString image = folder.writeBytes(QStringLiteral("0032_0001.seem"), empty);
    const QString profile = folder.writeBytes(QStringLiteral("profile.json"),
                                              "{\"settings\": [{\"group\": \"Long\", \"name\": \"Text\", \"value\": \""
                                                  + QByteArray(4000000, 'x') + "\"}]}");
    bool refused = false;
    bool saved = false;
    for (int limitMb : {2, 4, 8, 16, 96, 192}) {
        QVERIFY(WriteFileBytes(image, empty));
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(
            QStringLiteral("ASAN_OPTIONS"),
            QStringLiteral("detect_leaks=0:allocator_may_return_null=1:max_allocation_size_mb=%1").arg(limitMb));
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(BVL_CLI_PROGRAM), {QStringLiteral("apply"), image, profile, QStringLiteral("--sec"),
                                                    folder.file(QStringLiteral("long.sec"))});
        QVERIFY(cli.waitForFinished(120000));
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        const QByteArray out = cli.readAllStandardOutput();
        const QString context = QStringLiteral("%1 MB: %2").arg(limitMb).arg(err);
        QVERIFY2(cli.exitStatus() == QProcess::NormalExit, qPrintable(context));
        if (FileBytes(image) != empty) {
            saved = true;
            QVERIFY2(cli.exitCode() == 0, qPrintable(context));
            QVERIFY2(out.startsWith("Long\\Text: \"\" -> \"xxx")
                         || err.contains(QStringLiteral("saved; the report could not be made")),
                     qPrintable(context));
        } else {
            refused = true;
            QVERIFY2(cli.exitCode() == 1 && err.contains(QStringLiteral("nothing was written")), qPrintable(context));
        }
    }
    QVERIFY(refused && saved);   // both sides of the limit were reached
#endif
}

void TestCliSave::imageReplacedDuringTheSaveIsNoSuccess()
{
    Sample sample;
    const QString moved = sample.image + QStringLiteral(".moved");
    FileChanges::Faults faults;
    faults.actAt = FileChanges::CallCount() + IndexFirst + 8;   // journal 6-10, runs 11-12, fsync 13
    faults.act = [&] {
        QFile::rename(sample.image, moved);
        WriteFileBytes(sample.image, SampleImage());
    };
    FileChanges::SetFaults(faults);
    const CliResult r = sample.setTwo();
    NoFaults();
    QCOMPARE(r.status, 1);
    QVERIFY2(
        r.err.contains(QStringLiteral("%1 was replaced by another file while it was being saved; your changes went "
                                      "into the file that was moved away")
                           .arg(Quoted(sample.image))),
        qPrintable(r.err));
    QCOMPARE(FileBytes(sample.image), SampleImage());
    QVERIFY(FileBytes(moved) != SampleImage());
}

QTEST_GUILESS_MAIN(TestCliSave)
#include "tst_clisave.moc"
