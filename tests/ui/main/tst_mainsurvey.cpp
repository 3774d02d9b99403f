// Several images: the survey table over the open image and the ones chosen, its marks,
// filter and tool tips, the export that agrees with brimvale-cli, images left out, and a
// double-click that goes to the setting.
#include "support/CliRun.h"
#include "support/MainFixtures.h"
#include "ui/ThemeColours.h"
#include "ui/main/SurveyModel.h"
#include "ui/main/bvlSurvey.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

using namespace MainFixtures;

namespace {

// The sample image with another timeout, and the beep off too when asked.
QByteArray Variant(quint8 timeout, bool beepOff = false)
{
    QByteArray bytes = SampleImage();
    bytes[1] = char(timeout);
    if (beepOff)
        bytes[0] = char(quint8(bytes.at(0)) & ~0x01);
    return bytes;
}

// Chooses paths in the survey's file dialog and hands its window to look.
void Survey(MainFixture &f, const QStringList &paths, const std::function<void(bvlSurvey &)> &look)
{
    bool shown = false;
    f.window->ShowModal = [&](QDialog &dialog) {
        shown = true;
        look(static_cast<bvlSurvey &>(dialog));
    };
    f.platform.answerFiles(paths);
    f.window->mnfSurvey_Click();
    if (!shown)
        QTest::qFail("the survey was not shown", __FILE__, __LINE__);
}

// What the view shows: the header (of the display role), then each row's cells, as the view's own model gives them.
QStringList Shown(const QTableView *view, int role = Qt::DisplayRole)
{
    const QAbstractItemModel *model = view->model();
    QStringList lines;
    QStringList header;
    for (int c = 0; c < model->columnCount(); ++c)
        header << model->headerData(c, Qt::Horizontal).toString();
    if (role == Qt::DisplayRole)
        lines << header.join(QLatin1Char('|'));
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c) {
            const QVariant value = model->index(r, c).data(role);
            cells << (role == Qt::DisplayRole ? value.toString() : value.isValid() ? QStringLiteral("*") : QString());
        }
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

}   // namespace

class TestMainSurvey : public QObject
{
    Q_OBJECT
private slots:
    void tableMarksFilterAndExport();
    void leftOutImagesAndDoubleClick();
};

void TestMainSurvey::tableMarksFilterAndExport()
{
    MainFixture f;
    f.open(f.seemPath);
    const QString b = f.folder.writeBytes("0032_0001_b.seem", Variant(7));
    const QString c = f.folder.writeBytes("0032_0001_c.seem", Variant(7, true));
    const QString csv = f.folder.file("survey.csv");
    const QString varyingCsv = f.folder.file("varying.csv");
    Survey(f, {b, c}, [&](bvlSurvey &s) {
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        QCOMPARE(s.windowTitle(), f.ctx.Title("bvlMain.mnfSurvey"));
        QCOMPARE(s.tvSurvey->accessibleName(), f.T("bvlSurvey.tvSurvey_Accessible"));
        QCOMPARE(Shown(s.tvSurvey),
                 QStringList({"Setting|0032_0001.seem|0032_0001_b.seem|0032_0001_c.seem", "Sound\\Beep|on|on|off",
                              "Sound\\Volume|Mid|Mid|Mid", "Display\\Timeout|200|7|7", "Display\\Greeting|ABC|ABC|ABC",
                              "Net\\GPRS\\Owner|AB|AB|AB", "Net\\Roaming|on|on|on"}));
        // Marked: what differs from the open image, in the theme's colours, readable.
        const QStringList marked{"|||*", "|||", "||*|*", "|||", "|||", "|||"};
        QCOMPARE(Shown(s.tvSurvey, Qt::BackgroundRole), marked);
        QCOMPARE(Shown(s.tvSurvey, Qt::ForegroundRole), marked);
        const QModelIndex changed = s.tvSurvey->model()->index(2, 2);
        const QColor background = changed.data(Qt::BackgroundRole).value<QColor>();
        QVERIFY(background != s.tvSurvey->palette().color(QPalette::Base));
        QVERIFY(ThemeColours::Contrast(changed.data(Qt::ForegroundRole).value<QColor>(), background) >= 4.5);
        // A cell's tool tip counts the setting's values.
        QCOMPARE(QTextDocumentFragment::fromHtml(changed.data(Qt::ToolTipRole).toString()).toPlainText(),
                 QStringLiteral("200: 1\n7: 2"));

        // Sorted by name when the first header is clicked.
        QTest::mouseClick(s.tvSurvey->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(s.tvSurvey->horizontalHeader()->sectionViewportPosition(0) + 5, 5));
        QCOMPARE(Shown(s.tvSurvey).at(1), QStringLiteral("Display\\Greeting|ABC|ABC|ABC"));
        QCOMPARE(Shown(s.tvSurvey).last(), QStringLiteral("Sound\\Volume|Mid|Mid|Mid"));

        f.platform.answerFile(csv);
        s.cmExportCsv->click();
        s.chVaryingOnly->click();
        QCOMPARE(Shown(s.tvSurvey).mid(1), QStringList({"Display\\Timeout|200|7|7", "Sound\\Beep|on|on|off"}));
        f.platform.answerFile(varyingCsv);
        s.cmExportCsv->click();
        QCOMPARE(f.platform.callsOf(ScriptedPlatform::Kind::SaveFile).last().proposed, f.folder.file("0032_0001.csv"));
    });
    QCOMPARE(f.platform.messages(), QStringList());
    // The export is the command line's CSV, in setting order whatever the view's sort.
    const QStringList images{f.seemPath, b, c};
    const QStringList cli{"survey", "--sec", f.secPath, "--format", "csv"};
    QCOMPARE(QString::fromUtf8(f.folder.bytes("survey.csv")), RunCliCaptured(cli + images).out);
    QCOMPARE(QString::fromUtf8(f.folder.bytes("varying.csv")),
             RunCliCaptured(cli + QStringList{"--varying"} + images).out);

    // The export never replaces an image it read.
    Survey(f, {b}, [&](bvlSurvey &s) {
        f.platform.answerFile(b);
        s.cmExportCsv->click();
    });
    QCOMPARE(f.folder.bytes("0032_0001_b.seem"), Variant(7));
    QCOMPARE(f.platform.messages().size(), 1);
    QVERIFY(f.platform.messages().first().startsWith(f.T("bvlSurvey.sExportFailed_M") + " \"" + b + "\": "));
}

void TestMainSurvey::leftOutImagesAndDoubleClick()
{
    MainFixture f;
    f.open(f.seemPath);
    const QString big = f.folder.writeBytes("0032_0001_big.seem", SampleImage() + "xx");
    const QString other = f.folder.writeBytes("0032_0002.seem", SampleImage());
    const QString b = f.folder.writeBytes("0032_0001_b.seem", Variant(7));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    Survey(f, {big, other, b}, [&](bvlSurvey &s) {
        QCOMPARE(Shown(s.tvSurvey).first(), QStringLiteral("Setting|0032_0001.seem|0032_0001_b.seem"));
        s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s));
        const QRect timeout = s.tvSurvey->visualRect(s.tvSurvey->model()->index(2, 1));
        QTest::mouseClick(s.tvSurvey->viewport(), Qt::LeftButton, {}, timeout.center());
        QTest::mouseDClick(s.tvSurvey->viewport(), Qt::LeftButton, {}, timeout.center());
        QVERIFY(!s.isVisible());
    });
    // One message names each image left out with its reason.
    QCOMPARE(f.platform.messages(),
             QStringList(f.T("bvlSurvey.sLeftOut_M") + "\n\"" + big
                         + "\": " + f.T("bvlSurvey.sOtherSize_V").arg("22", "20") + "\n\"" + other
                         + "\": " + f.T("bvlSurvey.sOtherRecord_V").arg("0032_0002", "0032_0001")));
    QCOMPARE(f.window->tvUI->currentItem(), f.window->NodeByKey("Display"));
    QVERIFY(f.text(3)->isVisible());

    // The menu item runs it once a document is open; cancelling the dialog shows nothing.
    QVERIFY(f.window->mnfSurvey->isEnabled());
    f.platform.clearCalls();
    f.platform.cancelFile();
    f.window->mnfSurvey->trigger();
    QCOMPARE(f.platform.callsOf(ScriptedPlatform::Kind::OpenFile).size(), 1);
    QVERIFY(f.platform.messages().isEmpty());
}

QTEST_MAIN(TestMainSurvey)
#include "tst_mainsurvey.moc"
