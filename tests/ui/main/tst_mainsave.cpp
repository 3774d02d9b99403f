// The main window and the journaled save: an interrupted save put back at open and told,
// an unusable journal shown read-only, a locked or failing save refused with its reason.
#include "seem/files/SaveJournal.h"
#include "support/CliRun.h"
#include "support/FileBytes.h"
#include "support/MainFixtures.h"
#include "support/SaveFaults.h"

#include <QLabel>
#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace MainFixtures;
using namespace SaveFaults;

namespace {
QString Quoted(const QString &path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

// Beep off and roaming off: two runs, bytes 0 and 18.
QByteArray EditedImage()
{
    QByteArray edited = SampleImage();
    edited[0] = 0x10;
    edited[18] = 0x00;
    return edited;
}
}   // namespace

class TestMainSave : public QObject
{
    Q_OBJECT
private slots:
    void init() { NoFaults(); }

    void interruptedSaveIsPutBackAndToldAtOpen()
    {
        MainFixture f;
        InterruptSave(f.seemPath, EditedImage());
        f.open(f.seemPath);
        QCOMPARE(f.platform.messages(), QStringList(f.T("bvlMain.sSaveRolledBack_M").arg(Quoted(f.seemPath))));
        QCOMPARE(f.platform.calls.last().icon, MsgIcon::Information);
        QCOMPARE(f.image(), SampleImage());
        QVERIFY(!QFileInfo::exists(JournalPathOf(f.seemPath)));
        QVERIFY(f.check(1)->isChecked() && f.check(6)->isChecked());
        QVERIFY(!f.window->Document->file().isReadOnly());
    }

    void unusableJournalOpensReadOnlyWithAWarning()
    {
        MainFixture f;
        InterruptSave(f.seemPath, EditedImage());
        const QString journal = JournalPathOf(f.seemPath);
        QVERIFY(WriteFileBytes(journal, FileBytes(journal).left(60)));
        const QByteArray left = f.image();
        f.open(f.seemPath);
        QCOMPARE(f.platform.messages(),
                 QStringList(f.T("bvlMain.sJournalKept_M")
                                 .arg(Quoted(f.seemPath), Quoted(journal), f.T("bvlMain.sJournalDamaged_V"))));
        QCOMPARE(f.platform.calls.last().icon, MsgIcon::Warning);
        QVERIFY(f.window->lbFileDesc->text().endsWith(f.T("bvlMain.lbReadOnly_V")));
        f.check(1)->setChecked(!f.check(1)->isChecked());
        QVERIFY(!f.save());
        QCOMPARE(f.image(), left);
        QVERIFY(QFileInfo::exists(journal));
    }

    void journalOthersMayWriteIsNamedWithItsOwner()
    {
        MainFixture f;
        InterruptSave(f.seemPath, EditedImage());
        const QString journal = JournalPathOf(f.seemPath);
        QCOMPARE(::chmod(QFile::encodeName(journal).constData(), 0646), 0);
        const QByteArray left = f.image();
        f.open(f.seemPath);
        const QString owner = QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
        QCOMPARE(f.platform.messages(), QStringList(f.T("bvlMain.sJournalKept_M")
                                                        .arg(Quoted(f.seemPath), Quoted(journal),
                                                             f.T("bvlMain.sJournalUntrustedMode_V").arg(owner))));
        QVERIFY(f.window->lbFileDesc->text().endsWith(f.T("bvlMain.lbReadOnly_V")));
        QCOMPARE(f.image(), left);
    }

    void lockedFileIsRefusedAndTheEditsStay()
    {
        MainFixture f;
        f.open(f.seemPath);
        f.check(1)->setChecked(false);
        f.platform.clearCalls();
        {
            const HeldLock other(f.seemPath);
            QVERIFY(other.held);
            QVERIFY(!f.save());
        }
        QCOMPARE(f.platform.messages(), QStringList(f.T("bvlMain.sSaveBusy_M").arg(Quoted(f.seemPath))));
        QCOMPARE(f.image(), SampleImage());
        QVERIFY(!f.window->IsSaved());
        QVERIFY(f.save());
        QCOMPARE(f.image().at(0), '\x10');
    }

    void failedSaveTellsTheReasonAndWhatTheFileHolds()
    {
        MainFixture f;
        f.open(f.seemPath);
        f.check(1)->setChecked(false);
        f.check(6)->setChecked(false);
        f.platform.clearCalls();
        FailFrom(IndexFirst + 7, ENOSPC, 1);   // the second run
        QVERIFY(!f.save());
        FailFrom(IndexFirst + 7, EIO);   // the second run and putting back
        QVERIFY(!f.save());
        NoFaults();
        const QStringList messages = f.platform.messages();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages.at(0), f.T("bvlMain.sSaveFailed_M").arg(Quoted(f.seemPath), "No space left on device"));
        QCOMPARE(messages.at(1), f.T("bvlMain.sSaveDamaged_M")
                                     .arg(Quoted(f.seemPath), "Input/output error", "Input/output error",
                                          Quoted(JournalPathOf(f.seemPath))));
        QCOMPARE(f.platform.calls.last().icon, MsgIcon::Critical);
        QVERIFY(!f.window->IsSaved());
        // The next open puts the file back.
        QVERIFY(f.image() != SampleImage());
        f.platform.clearCalls();
        f.platform.answerMessage(MsgResult::No);   // not saving the edits first
        f.open(f.seemPath);
        QCOMPARE(f.image(), SampleImage());
    }

    void windowAndCommandLineWordANoticeAlike()
    {
        // One image, told about by both doors: the command line's line is the English
        // window's message. A save refused for want of a journal:
        MainFixture f;
        FailFrom(IndexFirst + 2, ENOSPC, 1);
        const CliResult set =
            RunCliCaptured({QStringLiteral("set"), f.seemPath, QStringLiteral("Beep=off")}, f.folder.dir.path());
        NoFaults();
        f.open(f.seemPath);
        f.check(1)->setChecked(false);
        FailFrom(IndexFirst + 2, ENOSPC, 1);
        QVERIFY(!f.save());
        NoFaults();
        QCOMPARE(f.platform.messages().size(), 1);
        QCOMPARE(set.err, QStringLiteral("brimvale-cli: ") + f.platform.messages().first() + '\n');

        // An interrupted save whose journal cannot be used.
        const QString other = f.folder.writeBytes(QStringLiteral("0032_0001 b.seem"), SampleImage());
        InterruptSave(other, EditedImage());
        const QString journal = JournalPathOf(other);
        QVERIFY(WriteFileBytes(journal, FileBytes(journal).left(50)));
        const CliResult shown = RunCliCaptured({QStringLiteral("show"), other}, f.folder.dir.path());
        f.platform.clearCalls();
        f.platform.answerMessage(MsgResult::No);   // the unsaved edit goes
        f.open(other);
        QCOMPARE(f.platform.messages().size(), 2);
        QCOMPARE(shown.err, QStringLiteral("brimvale-cli: warning: ") + f.platform.messages().last() + '\n');
    }
};

QTEST_MAIN(TestMainSave)
#include "tst_mainsave.moc"
