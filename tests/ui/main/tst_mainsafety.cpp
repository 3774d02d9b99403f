// The main window never writes what the user did not see: settings that cannot be
// restored, states no value names, strings without terminator, and a SEEM file that
// changed, cannot be written or is no file at all.
#include "support/MainFixtures.h"

#include <QApplication>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace MainFixtures;
using namespace SeemFixtures;
using Kind = ScriptedPlatform::Kind;

namespace {
QString QuotedPath(const QString &path)
{
    return QStringLiteral(" \"") + path + QLatin1Char('"');
}

// Two selectable states over the top bits, named On and Off.
SettingStruct OnOffList(qint32 offset, const QString &values)
{
    SettingStruct s = ValueList(offset, 0xF0, {});
    s.ValueNames = JoinValues({QStringLiteral("On"), QStringLiteral("Off")});
    s.Values = values;
    return s;
}
}   // namespace

class TestMainSafety : public QObject
{
    Q_OBJECT
private slots:
    // The image of the fault report: a string field running past the end of a short image,
    // with check boxes and a list after it.
    void shortImageRestoresTheOthersAndSavesOnlyEdits()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const QByteArray image = QByteArray::fromHex("0101010141424344");
        f.openWith({Named(Checkbox(0, 1, 1, 0), "First", "Front"), Named(AnsiString(4, 8), "Name", "Text"),
                    Named(Checkbox(1, 1, 1, 0), "Second", "Front"), Named(Checkbox(2, 1, 1, 0), "Third", "Front"),
                    Named(ValueList(3, 0x03, {0, 1, 2}), "Mode", "Front"), Named(Int8(9), "Beyond", "Text")},
                   image);
        const QString nameFails =
            f.T("bvlMain.sIncompatible_M")
            + "\n\nName: its bytes 4-11 (0x4-0xB) reach past the end of the SEEM file (8 bytes) (ERR 62)";
        QCOMPARE(f.platform.messages(), QStringList(nameFails));
        QCOMPARE(f.platform.calls.last().icon, MsgIcon::Warning);
        QVERIFY(w.IsSaved());
        QVERIFY(!f.text(2)->isEnabled() && !f.text(6)->isEnabled());
        QVERIFY(f.check(3)->isChecked() && f.check(4)->isChecked() && f.list(5)->currentIndex() == 1);
        QCOMPARE(w.tvUI->currentItem(), w.NodeByKey("Text"));
        QVERIFY(f.text(2)->isVisible());

        QVERIFY(f.save());
        QCOMPARE(f.image(), image);
        f.check(3)->setChecked(false);
        QVERIFY(f.save());
        QCOMPARE(f.image(), QByteArray::fromHex("0100010141424344"));

        // Restoring the group or one failing setting warns once and leaves them disabled.
        f.platform.clearCalls();
        w.tvUI->setCurrentItem(w.NodeByKey("Text"));
        w.PopupTarget = -1;
        w.mnfRestoreItem_Click();
        w.PopupTarget = 6;
        w.mnfRestoreItem_Click();
        QCOMPARE(
            f.platform.messages(),
            QStringList({nameFails,
                         f.T("bvlMain.sIncompatible_M")
                             + "\n\nBeyond: its byte 9 (0x9) lies past the end of the SEEM file (8 bytes) (ERR 62)"}));
        QVERIFY(!f.text(2)->isEnabled() && !f.text(6)->isEnabled());
    }

    // Strings without terminator, a check box whose bits (3) are neither value, lists whose
    // bits match no named value (the second only a value text without a name).
    void untouchedSettingsKeepTheirBytes()
    {
        MainFixture f;
        const QByteArray image = QByteArray::fromHex("5758595A"
                                                     "00410042"
                                                     "1F"
                                                     "30"
                                                     "30");
        f.openWith({Named(AnsiString(0, 4), "Ansi", "S"), Named(UnicodeString(4, 4), "Wide", "S"),
                    Named(Checkbox(8, 0x03, 1, 2), "Neither", "G"),
                    Named(OnOffList(9, JoinValues({"16", "32", "x"})), "NoEntry", "G"),
                    Named(OnOffList(10, JoinValues({"16", "32", "48", "x"})), "Surplus", "G"),
                    Named(Checkbox(8, 0x10, 16, 0), "Neighbour", "G")},
                   image);
        QVERIFY(f.platform.messages().isEmpty());
        QCOMPARE(f.text(1)->text(), QStringLiteral("WXYZ"));
        QCOMPARE(f.text(2)->text(), QStringLiteral("AB"));
        QVERIFY(!f.check(3)->isChecked());
        QVERIFY(f.list(4)->isEnabled() && f.list(4)->currentIndex() == -1 && f.list(5)->currentIndex() == -1);
        QCOMPARE(f.list(5)->count(), 2);
        QVERIFY(f.save());
        QCOMPARE(f.image(), image);

        // A neighbour in the unknown state's byte is written around its bits; an edited
        // string must leave room for its terminator.
        f.check(6)->setChecked(false);
        f.text(1)->setText("WXYQ");
        QVERIFY(!f.window->mnfSaveSEEM_Click());
        QCOMPARE(f.image(), image);
        f.text(1)->setText("WXY");
        QVERIFY(f.save());
        QCOMPARE(f.image(), QByteArray::fromHex("57585900"
                                                "00410042"
                                                "0F"
                                                "30"
                                                "30"));
        QCOMPARE(f.text(1)->text(), QStringLiteral("WXY"));
        QVERIFY(f.window->IsSaved());
    }

    void fileChangedBehindTheWindowIsNotWritten_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("deleted") << "deleted";
        QTest::newRow("replaced") << "replaced";
        QTest::newRow("changed in place") << "in place";
    }
    void fileChangedBehindTheWindowIsNotWritten()
    {
        QFETCH(QString, change);
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        f.text(3)->setText("9");
        const QByteArray other = QByteArray(SampleImage().size(), 'x');
        if (change == "deleted") {
            QVERIFY(QFile::remove(f.seemPath));
        } else if (change == "replaced") {
            const QString fresh = f.folder.writeBytes("fresh.seem", other);
            QVERIFY(::rename(QFile::encodeName(fresh), QFile::encodeName(f.seemPath)) == 0);
        } else {
            QFile file(f.seemPath);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.write(other) == other.size());
        }
        QVERIFY(!f.save());
        QCOMPARE(f.platform.messages(), QStringList(f.T("bvlMain.sFileChanged_M") + QuotedPath(f.seemPath)));
        QCOMPARE(f.image(), change == "deleted" ? QByteArray() : other);
        QVERIFY(!w.IsSaved());
        QCOMPARE(f.text(3)->text(), QStringLiteral("9"));
    }

    void fifoIsRefusedAndTheDocumentStays()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        const QString status = w.lbFileDesc->text();
        const QString fifo = f.folder.file("0032_0002.seem");
        QVERIFY(::mkfifo(QFile::encodeName(fifo), 0600) == 0);
        f.platform.clearCalls();
        f.platform.answerFile(f.secPath);
        w.OpenSEEM(fifo);
        QCOMPARE(f.platform.messages(), QStringList(f.T("bvlMain.sNotRegularFile_M") + QuotedPath(fifo)));
        QCOMPARE(f.platform.calls.last().icon, MsgIcon::Critical);
        QCOMPARE(w.Document->file().path(), f.seemPath);
        QCOMPARE(w.lbFileDesc->text(), status);
        QVERIFY(f.check(1)->isChecked());
    }

    void readOnlyFileShowsAndRefusesTheSave()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        w.SeemFileOpener = [](SeemFile &file, const QString &path) { file.openReadOnly(path); };
        f.open(f.seemPath);
        QCOMPARE(f.text(4)->text(), QStringLiteral("ABC"));
        QVERIFY(w.lbFileDesc->text().endsWith("By Ann " + f.T("bvlMain.lbReadOnly_V")));
        f.text(4)->setText("Q");
        QVERIFY(!f.save());
        QCOMPARE(f.platform.messages(), QStringList(f.T("bvlMain.sReadOnly_M") + QuotedPath(f.seemPath)));
        QCOMPARE(f.image(), SampleImage());
        QVERIFY(!w.IsSaved());
    }

    // What the seam above stands in for: a file the user may read but not write.
    void unwritableFileOpensForReading()
    {
        if (::geteuid() == 0)
            QSKIP("the file mode does not keep the superuser from writing");
        MainFixture plain;
        QVERIFY(QFile::setPermissions(plain.seemPath, QFileDevice::ReadOwner));
        plain.open(plain.seemPath);
        QVERIFY(plain.window->Document->file().isReadOnly());
        QVERIFY(plain.window->lbFileDesc->text().endsWith(plain.T("bvlMain.lbReadOnly_V")));
    }

    // Setting files are data: their texts appear as written, never as markup, and the
    // status line elides a long one, keeping it whole in its tool tip.
    void textsFromFilesAreShownLiterally()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        SettingFileHeader header = Header(0x32, 1, "<b>Ann</b>");
        header.Phones = QString("<img src=x> ").repeated(40);
        f.openWith({Named(Int8(0), "<b>bold</b>", "<i>g</i>&co"), Named(Checkbox(1, 1, 1, 0), "Save &Quit", "G")},
                   SampleImage(), header);
        w.ShowSetting(1);
        QCOMPARE(w.lbUI.at(1)->text(), QStringLiteral("<b>bold</b>"));
        QCOMPARE(w.lbUI.at(1)->textFormat(), Qt::PlainText);
        QCOMPARE(w.NodeByKey("<i>g</i>&co")->text(0), QStringLiteral("<i>g</i>&co"));
        QVERIFY(f.check(2)->shortcut().isEmpty());   // the "&" did not become a shortcut
        QCOMPARE(w.lbFileDesc->textFormat(), Qt::PlainText);
        QVERIFY(w.lbFileDesc->text().endsWith(header.Phones + " (SEEM 32_1). By <b>Ann</b>"));
        QCOMPARE(ShownToolTip(w.lbFileDesc), w.lbFileDesc->text());
        const QString shown = w.lbFileDesc->shownText();
        // The line puts the file's name and phones first, literally, and cuts the rest.
        QVERIFY(shown.endsWith(QChar(0x2026)) && shown.contains("\". <img src=x> <img src=x>"));
        QVERIFY(w.lbFileDesc->fontMetrics().horizontalAdvance(shown) <= w.lbFileDesc->contentsRect().width());
    }

    void openDialogsStartInTheOpenFilesFolder()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        f.open(f.seemPath);
        QCOMPARE(f.platform.calls.first().proposed, QString());   // nothing open yet
        const QString folder = QDir::toNativeSeparators(f.folder.dir.path()) + QDir::separator();
        w.mnfAutoSettingSelection->setChecked(false);
        f.platform.clearCalls();
        f.platform.answerFile(f.seemPath);
        f.platform.answerFile(f.secPath);
        w.mnfOpenSEEM_Click();
        f.platform.answerFile(f.secPath);
        w.mnfChangeSettingFile_Click();
        const auto dialogs = f.platform.callsOf(Kind::OpenFile);
        QCOMPARE(dialogs.size(), 3);
        for (const auto &dialog : dialogs)
            QCOMPARE(dialog.proposed, folder);
    }
};

QTEST_MAIN(TestMainSafety)
#include "tst_mainsafety.moc"
