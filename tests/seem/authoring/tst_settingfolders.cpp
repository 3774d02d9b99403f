// The per-user folder beside the program folder: the order both are searched in, the
// list of setting files the windows and `list` show, and installing into and removing
// from the per-user folder.
#include "core/BvlError.h"
#include "core/SearchFolders.h"
#include "core/SettingFile.h"
#include "platform/Platform.h"
#include "seem/authoring/AutoSelect.h"
#include "seem/authoring/SettingFileCatalogue.h"
#include "seem/authoring/SettingFileInstall.h"
#include "support/MainFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace SeemFixtures;
using MainFixtures::Header;

namespace {

QByteArray SecBytes(qint16 seemNr, qint16 seemRec, const QString &author, SettingStruct setting = Int8(0))
{
    if (setting.Name.isEmpty()) {
        setting.Name = QStringLiteral("Volume");
        setting.Group = QStringLiteral("Sound");
    }
    SettingFileHeader header = Header(seemNr, seemRec, author);
    header.SettingCount = 1;
    return EncodeSettingFile(header, {setting});
}

QString Write(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(folder);
    QFile file(JoinPath(folder, name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        QTest::qFail("cannot write a fixture file", __FILE__, __LINE__);
    return file.fileName();
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A program folder and a per-user folder that does not exist yet.
struct Folders
{
    QTemporaryDir base;
    QString program = JoinPath(base.path(), QStringLiteral("program"));
    QString user = JoinPath(base.path(), QStringLiteral("home/brimvale-edit"));
    Folders() { QDir().mkpath(program); }
};

}   // namespace

class TestSettingFolders : public QObject
{
    Q_OBJECT
private slots:
    void userFolderIsSearchedFirst();
    void catalogueListsBothFoldersWithTheirChecks();
    void installCopiesTheBytesReadAndRefusesWhatTheWindowsRefuse();
    void installOfASameNamedFileReplacesItWhole();
    void removeTakesOnlyPerUserFiles();
    void saveFolderIsThePerUserOneForNewOrUnwritableFiles();
};

void TestSettingFolders::userFolderIsSearchedFirst()
{
    Folders f;
    QCOMPARE(SearchFolders(f.user, f.program), QStringList({f.user, f.program}));
    QCOMPARE(SearchFolders(QString(), f.program), QStringList({f.program}));
    QCOMPARE(SearchFolders(f.program, f.program), QStringList({f.program}));   // one folder is searched once

    // A folder that does not exist is passed over; shipped files are found by name.
    Write(f.program, QStringLiteral("b-shipped.sec"), SecBytes(0x32, 1, QStringLiteral("Shipped B")));
    Write(f.program, QStringLiteral("a-shipped.sec"), SecBytes(0x32, 1, QStringLiteral("Shipped A")));
    const QStringList folders = SearchFolders(f.user, f.program);
    QCOMPARE(AutoSelectSettingFile(folders, QStringLiteral("0032_0001.seem")),
             JoinPath(f.program, QStringLiteral("a-shipped.sec")));
    QVERIFY(!QFileInfo::exists(f.user));   // looking creates nothing

    // The user's own file for the same SEEM and record wins, whatever its name.
    Write(f.user, QStringLiteral("z-mine.sec"), SecBytes(0x32, 1, QStringLiteral("Me")));
    Write(f.user, QStringLiteral("other.sec"), SecBytes(0x40, 2, QStringLiteral("Me")));
    QCOMPARE(AutoSelectSettingFile(folders, QStringLiteral("0032_0001.seem")),
             JoinPath(f.user, QStringLiteral("z-mine.sec")));
    // For a SEEM only the program folder has, the shipped file is taken.
    Write(f.program, QStringLiteral("c-shipped.sec"), SecBytes(0x50, 1, QStringLiteral("Shipped C")));
    QCOMPARE(AutoSelectSettingFile(folders, QStringLiteral("0050_0001.bin")),
             JoinPath(f.program, QStringLiteral("c-shipped.sec")));

    QCOMPARE(FilesInSearchOrder(folders, QStringLiteral("*.sec")),
             QStringList({JoinPath(f.user, QStringLiteral("other.sec")), JoinPath(f.user, QStringLiteral("z-mine.sec")),
                          JoinPath(f.program, QStringLiteral("a-shipped.sec")),
                          JoinPath(f.program, QStringLiteral("b-shipped.sec")),
                          JoinPath(f.program, QStringLiteral("c-shipped.sec"))}));
}

void TestSettingFolders::catalogueListsBothFoldersWithTheirChecks()
{
    Folders f;
    Write(f.program, QStringLiteral("good.sec"), SecBytes(0x32, 1, QStringLiteral("Ann")));
    SettingStruct noMask = Checkbox(0, 0, 1, 0);   // an empty bit mask is an error of check
    Write(f.user, QStringLiteral("faulty.sec"), SecBytes(-2, 0x7F, QStringLiteral("Bo"), noMask));
    Write(f.user, QStringLiteral("cut.sec"), SecBytes(0x32, 1, QStringLiteral("Cy")).left(30));

    const QVector<CatalogueEntry> entries = ListSettingFiles(f.user, f.program);
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[0].fileName, QStringLiteral("cut.sec"));
    QCOMPARE(entries[0].folder, FileFolder::User);
    QCOMPARE(entries[0].readError, ErrNo::InputPastEnd);
    QVERIFY(!entries[0].usable());

    QCOMPARE(entries[1].fileName, QStringLiteral("faulty.sec"));
    QCOMPARE(entries[1].header.SEEMNr, qint16(-2));
    QCOMPARE(entries[1].header.Author, QStringLiteral("Bo"));
    QCOMPARE(entries[1].settingCount, 1);
    QVERIFY(entries[1].errors > 0);
    QVERIFY(entries[1].usable());   // errors show in the list; the file is still a setting file

    QCOMPARE(entries[2].fileName, QStringLiteral("good.sec"));
    QCOMPARE(entries[2].folder, FileFolder::Shipped);
    QCOMPARE(entries[2].errors, 0);
    QCOMPARE(entries[2].header.Phones, QStringLiteral("Demo phone"));
}

void TestSettingFolders::installCopiesTheBytesReadAndRefusesWhatTheWindowsRefuse()
{
    Folders f;
    const QByteArray good = SecBytes(0x32, 1, QStringLiteral("Ann"));
    const QString source = Write(f.base.path(), QStringLiteral("downloaded.sec"), good);
    const InstallCandidate candidate = PrepareInstall(source, f.user);
    QVERIFY(candidate.accepted());
    QVERIFY(!candidate.replaces);
    InstallSettingFile(candidate);   // makes the per-user folder
    QCOMPARE(Read(JoinPath(f.user, QStringLiteral("downloaded.sec"))), good);

    // Refused: each named with its reason, nothing copied.
    SettingFileHeader oldVersion = Header(0x32, 1, QStringLiteral("Ann"));
    oldVersion.FileVersion = 2;
    oldVersion.SettingCount = 1;
    SettingStruct deep = Int8(0);
    deep.Name = QStringLiteral("Deep");
    deep.Group = QString(QStringLiteral("g\\")).repeated(MaxGroupLevels + 1);
    const struct
    {
        const char *name;
        QByteArray bytes;
        InstallRefusal refusal;
    } refused[] = {
        {"notes.sec", "just some text", InstallRefusal::NotSettingFile},
        {"short.sec", good.left(good.size() - 3), InstallRefusal::ReadFailed},
        {"old.sec", EncodeSettingFile(oldVersion, {Int8(0)}), InstallRefusal::UnsupportedVersion},
        {"deep.sec", SecBytes(0x32, 1, QStringLiteral("Ann"), deep), InstallRefusal::GroupPathTooLong},
    };
    for (const auto &r : refused) {
        const InstallCandidate c = PrepareInstall(Write(f.base.path(), QString::fromLatin1(r.name), r.bytes), f.user);
        QCOMPARE(c.refusal, r.refusal);
        QVERIFY_THROWS_EXCEPTION(BvlError, InstallSettingFile(c));
        QVERIFY(!QFileInfo::exists(JoinPath(f.user, QString::fromLatin1(r.name))));
    }
    QCOMPARE(PrepareInstall(Write(f.base.path(), QStringLiteral("old.sec"), EncodeSettingFile(oldVersion, {Int8(0)})),
                            f.user)
                 .fileVersion,
             2);
    QCOMPARE(PrepareInstall(JoinPath(f.base.path(), QStringLiteral("missing.sec")), f.user).readError,
             ErrNo::FileNotFound);
    QCOMPARE(PrepareInstall(f.base.path(), f.user).readError, ErrNo::NotRegularFile);
    // The per-user file itself is not copied onto itself.
    QCOMPARE(PrepareInstall(JoinPath(f.user, QStringLiteral("downloaded.sec")), f.user).refusal,
             InstallRefusal::AlreadyThere);
}

void TestSettingFolders::installOfASameNamedFileReplacesItWhole()
{
    Folders f;
    Write(f.user, QStringLiteral("phone.sec"), SecBytes(0x32, 1, QStringLiteral("Old")));
    const QByteArray newer = SecBytes(0x32, 1, QStringLiteral("Newer author"));
    const InstallCandidate candidate = PrepareInstall(Write(f.base.path(), QStringLiteral("phone.sec"), newer), f.user);
    QVERIFY(candidate.accepted());
    QVERIFY(candidate.replaces);   // the window asks before this one
    InstallSettingFile(candidate);
    QCOMPARE(Read(JoinPath(f.user, QStringLiteral("phone.sec"))), newer);
}

void TestSettingFolders::removeTakesOnlyPerUserFiles()
{
    Folders f;
    const QString mine = Write(f.user, QStringLiteral("mine.sec"), SecBytes(0x32, 1, QStringLiteral("Me")));
    const QString shipped = Write(f.program, QStringLiteral("shipped.sec"), SecBytes(0x32, 1, QStringLiteral("Ann")));
    QVERIFY_THROWS_EXCEPTION(BvlError, RemoveUserSettingFile(shipped, f.user));
    QVERIFY(QFileInfo::exists(shipped));
    RemoveUserSettingFile(mine, f.user);
    QVERIFY(!QFileInfo::exists(mine));
    QVERIFY_THROWS_EXCEPTION(BvlError, RemoveUserSettingFile(mine, f.user));   // gone already
}

void TestSettingFolders::saveFolderIsThePerUserOneForNewOrUnwritableFiles()
{
    Folders f;
    const QString sep = QDir::separator();
    const QString userProposal = QDir::toNativeSeparators(f.user) + sep;
    QCOMPARE(SettingSaveFolder(QString(), f.user), userProposal);
    const QString shipped = Write(f.program, QStringLiteral("shipped.sec"), SecBytes(0x32, 1, QStringLiteral("Ann")));
    QCOMPARE(SettingSaveFolder(shipped, f.user), QDir::toNativeSeparators(f.program) + sep);
    QFile::setPermissions(f.program, QFile::ReadOwner | QFile::ExeOwner);
    const bool readOnly = !QFileInfo(f.program).isWritable();   // root writes everywhere
    if (readOnly)
        QCOMPARE(SettingSaveFolder(shipped, f.user), userProposal);
    QFile::setPermissions(f.program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // A file that is gone (deleted behind the editor's back) is saved like a new one.
    QCOMPARE(SettingSaveFolder(JoinPath(f.program, QStringLiteral("gone.sec")), f.user), userProposal);
    if (!readOnly)
        QSKIP("running as root: a folder cannot be made unwritable");
}

QTEST_GUILESS_MAIN(TestSettingFolders)
#include "tst_settingfolders.moc"
