// The SEEM files opened last, as the preferences keep them between starts.
#include "seem/document/RecentFiles.h"
#include "support/ScriptedPlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString Touch(const QTemporaryDir &dir, const QString &name)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        QTest::qFail("cannot write a fixture file", __FILE__, __LINE__);
    return QDir::cleanPath(QFileInfo(file).absoluteFilePath());
}
}   // namespace

class TestRecentFiles : public QObject
{
    Q_OBJECT
private slots:
    void newestFirstOncePerFileAtMostEight()
    {
        QTemporaryDir dir;
        ScriptedPlatform platform;
        RecentFiles recent(platform);
        QStringList paths;
        for (int i = 0; i < 10; ++i)
            paths << Touch(dir, QStringLiteral("%1_0001.seem").arg(i, 4, 10, QLatin1Char('0')));
        for (const QString &path : paths)
            recent.add(path);
        QStringList expected;
        for (int i = 9; i >= 2; --i)
            expected << paths.at(i);
        QCOMPARE(recent.read(), expected);

        // Opened again under another spelling: moved to the front, not listed twice.
        recent.add(dir.path() + QStringLiteral("/sub/../0005_0001.seem"));
        QCOMPARE(recent.read().first(), paths.at(5));
        QCOMPARE(recent.read().count(paths.at(5)), 1);
        QCOMPARE(recent.read().size(), RecentFiles::MaxCount);

        // A later start reads the same list from the preferences.
        RecentFiles again(platform);
        QCOMPARE(again.read(), recent.read());
        again.clear();
        QVERIFY(recent.read().isEmpty());
    }

    void goneFilesDroppedAndOddNamesKept()
    {
        QTemporaryDir dir;
        ScriptedPlatform platform;
        RecentFiles recent(platform);
        const QString odd = Touch(dir, QStringLiteral("a \"b\"\n[c],d\\e.seem"));
        const QString gone = Touch(dir, QStringLiteral("0032_0001.seem"));
        recent.add(odd);
        recent.add(gone);
        QVERIFY(QFile::remove(gone));
        QCOMPARE(recent.read(), QStringList({odd}));
        // Dropped from the stored list too, not only from what was read.
        QCOMPARE(RecentFiles::fromPreference(platform.preferences.value(QStringLiteral("UI/RecentFiles"))),
                 QStringList({odd}));

        // A preference the program did not write holds no file.
        for (const QString &text : {QStringLiteral("x"), QStringLiteral("{\"a\":1}"), QStringLiteral("[1,null,\"\"]")})
            QVERIFY2(RecentFiles::fromPreference(text).isEmpty(), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestRecentFiles)
#include "tst_recentfiles.moc"
