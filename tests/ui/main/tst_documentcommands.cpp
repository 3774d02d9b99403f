// The window's own changes to the document, driven without a window: while a restore, a
// save or an undo fills the controls the changes are quiet (no edit of the user's, no
// undo step), an edit is not, and a restore that fails names its setting once.
#include "support/MainFixtures.h"
#include "ui/main/ChangeSteps.h"
#include "ui/main/DocumentCommands.h"
#include "ui/main/DocumentFiles.h"

#include <QUndoStack>
#include <QtTest>

using namespace MainFixtures;

namespace {
struct Parts
{
    ProgramFolder folder;
    ScriptedPlatform platform;
    AppContext ctx{platform};
    QObject owner;
    SeemDocument document;
    DocumentFiles files{ctx, document};
    ChangeSteps steps{document, [this](const QVector<QPair<int, ControlState>> &s) { commands.SetStates(s); }, &owner};
    QVector<QVector<int>> settled;
    QVector<int> shown;
    DocumentCommands commands{ctx, document, steps, [this](const QVector<int> &i) { settled << i; },
                              [this](int i) { shown << i; }};
    QVector<bool> quietWhenChanged;   // Quiet() at each of the document's statesChanged

    explicit Parts(const SettingList &settings)
    {
        ctx.lang.LoadLanguageFile(folder.copyLanguage(QStringLiteral("english.sel")));
        DocumentFiles::Next next;
        next.seemPath = folder.writeBytes(QStringLiteral("0032_0001.seem"), SampleImage());
        next.seemFile = std::make_unique<SeemFile>();
        next.seemFile->open(next.seemPath);
        next.settingPath = folder.file(QStringLiteral("demo.sec"));
        next.header = Header(32, 1);
        next.settings = settings;
        files.TakeOver(next);
        QObject::connect(&document, &SeemDocument::statesChanged, &owner,
                         [this] { quietWhenChanged << commands.Quiet(); });
    }
    // True when every change since the last call came while quiet, false when none did.
    bool QuietSinceLast()
    {
        const bool quiet = !quietWhenChanged.contains(false);
        quietWhenChanged.clear();
        return quiet;
    }
};
}   // namespace

class TestDocumentCommands : public QObject
{
    Q_OBJECT
private slots:
    void restoresSavesAndUndoAreQuietEditsAreNot()
    {
        Parts p(SampleSettings());
        const QVector<int> all = p.document.allSettings();
        QCOMPARE(p.commands.Restore(all).index, 0);
        QVERIFY(p.QuietSinceLast());
        QCOMPARE(p.settled, QVector<QVector<int>>({all}));

        p.steps.Edited(3, ControlState::Text(QStringLiteral("7")), false);
        QVERIFY(!p.quietWhenChanged.isEmpty() && !p.QuietSinceLast());
        QCOMPARE(p.steps.UndoStack->count(), 1);
        p.steps.UndoStack->undo();
        QVERIFY(p.QuietSinceLast());
        QVERIFY(!p.document.isModified());
        p.steps.UndoStack->redo();

        QCOMPARE(p.commands.Save(), 1);
        QVERIFY(p.QuietSinceLast() && !p.commands.Quiet());
        QCOMPARE(p.folder.bytes(QStringLiteral("0032_0001.seem")).at(1), char(7));
        QVERIFY(!p.document.isModified());
        QCOMPARE(p.steps.UndoStack->count(), 1);   // the save is no step of its own
        QVERIFY(p.platform.messages().isEmpty() && p.shown.isEmpty());
    }

    void aFailedRestoreNamesItsSettingOnce()
    {
        SettingList settings = SampleSettings();
        settings << Named(SeemFixtures::Int8(40), QStringLiteral("Far"), QStringLiteral("Display"));
        Parts p(settings);
        const SeemDocument::RestoreFailure failure = p.commands.Restore(p.document.allSettings());
        QCOMPARE(failure.index, 7);
        QVERIFY(p.platform.messages().isEmpty());   // quiet until reported
        p.commands.Report(failure);
        QCOMPARE(p.platform.messages().size(), 1);
        QVERIFY(p.platform.messages().first().contains(QStringLiteral("Far: its byte 40 (0x28)")));
        QCOMPARE(p.shown, QVector<int>({7}));
        p.commands.Report({});
        QCOMPARE(p.platform.messages().size(), 1);
    }
};

QTEST_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
