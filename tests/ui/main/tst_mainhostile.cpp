// The windows with hostile files in the program folder and in the dialogs: FIFOs and
// links to them, a 64 GB sparse setting file, and an action that runs out of memory.
#include "core/BvlError.h"
#include "support/FifoFiles.h"
#include "support/MainFixtures.h"
#include "ui/GuardedApplication.h"
#include "ui/language/bvlLanguage.h"

#include <QListWidget>
#include <QtTest>

#include <new>
#include <unistd.h>

using namespace MainFixtures;

namespace {

constexpr qint64 SparseSize = 64LL * 1024 * 1024 * 1024;

class ThrowingObject : public QObject
{
public:
    bool event(QEvent *) override { throw std::bad_alloc(); }
};

}   // namespace

class TestMainHostile : public QObject
{
    Q_OBJECT

private slots:
    // A window that blocked would hang the run; the alarm ends it as a failure instead.
    void init() { alarm(60); }
    void cleanup() { alarm(0); }

    void startUpPassesOverSpecialFilesInTheProgramFolder();
    void automaticChoiceOfASparseFileIsRefusedWithAMessage();
    void settingFileThatIsAFifoIsRefusedWithAMessage();
    void eventThatRunsOutOfMemoryIsDropped();
};

void TestMainHostile::startUpPassesOverSpecialFilesInTheProgramFolder()
{
    UnstartedWindow w;
    w.folder.copyLanguage(QStringLiteral("english.sel"));
    const QString fifo = MakeFifo(w.folder.file(QStringLiteral("fifo")));
    QVERIFY(QFile::link(fifo, w.folder.file(QStringLiteral("a-pipe.sel"))));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), w.folder.file(QStringLiteral("b-zero.sel"))));
    QVERIFY(QFile::link(fifo, w.folder.file(QStringLiteral("a-pipe.sec"))));
    // The only language file left is loaded by itself, as with one file in the folder.
    QVERIFY(w.window.Form_Load());
    QVERIFY(w.ctx.LanguageAutoLoaded);
    QVERIFY(w.platform.messages().isEmpty());

    bvlLanguage dialog(w.ctx);
    QVERIFY(dialog.FillUp(false));
    QCOMPARE(dialog.lsLanguages->count(), 1);
    QCOMPARE(dialog.LangFiles, QStringList{w.folder.file(QStringLiteral("english.sel"))});
}

void TestMainHostile::automaticChoiceOfASparseFileIsRefusedWithAMessage()
{
    MainFixture f;
    QVERIFY(QFile::link(MakeFifo(f.folder.file(QStringLiteral("fifo"))), f.folder.file(QStringLiteral("0-pipe.sec"))));
    QCOMPARE(::truncate(QFile::encodeName(f.secPath).constData(), SparseSize), 0);
    f.open(f.seemPath);
    const QStringList messages = f.platform.messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first(), QStringLiteral("ReadSettingFile(") + f.secPath + QStringLiteral(") ERR 630\n")
                                   + f.T(QStringLiteral("bvlEditSetting.FileTooLarge_M")));
    QVERIFY(f.window->Settings.isEmpty());
    QVERIFY(!f.window->mnfSaveSEEM->isEnabled());
}

void TestMainHostile::settingFileThatIsAFifoIsRefusedWithAMessage()
{
    MainFixture f;
    f.open(f.seemPath);
    QCOMPARE(f.window->Settings.size(), SampleSettings().size());
    f.platform.clearCalls();
    const QString fifo = MakeFifo(f.folder.file(QStringLiteral("chosen.sec")));
    f.platform.answerFile(fifo);
    f.window->mnfChangeSettingFile_Click();
    QCOMPARE(f.platform.messages(),
             QStringList{QStringLiteral("ReadSettingFile(") + fifo + QStringLiteral(") ERR 620\n")
                         + f.T(QStringLiteral("bvlEditSetting.NotRegularFile_M"))});
    // The file in use stays in use.
    QCOMPARE(f.window->Settings.size(), SampleSettings().size());
}

void TestMainHostile::eventThatRunsOutOfMemoryIsDropped()
{
    auto *app = dynamic_cast<GuardedApplication *>(QCoreApplication::instance());
    QVERIFY(app);
    int reports = 0;
    app->setOutOfMemoryReport([&reports] { ++reports; });
    ThrowingObject target;
    QEvent event(QEvent::User);
    QVERIFY(!QCoreApplication::sendEvent(&target, &event));
    QCOMPARE(reports, 1);
    app->setOutOfMemoryReport({});
}

int main(int argc, char *argv[])
{
    GuardedApplication app(argc, argv);
    TestMainHostile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainhostile.moc"
