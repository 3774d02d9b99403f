// Colours and layout that hold in every theme: the marked texts of the main window and the
// byte map read (contrast of at least 4.5:1 in the drawn pixels) under a dark and a
// high-contrast palette set while the program runs; the window's frame lies inside the
// screen's area; the status line puts the setting file first and steps aside for Find.
#include "support/EditorControls.h"
#include "support/EditorFixtures.h"
#include "support/MainFixtures.h"
#include "ui/ThemeColours.h"
#include "ui/editor/ByteMapModel.h"
#include "ui/editor/InputMarks.h"
#include "ui/editor/bvlByteMap.h"
#include "ui/editor/bvlEditSetting.h"
#include "ui/main/ChangeMarks.h"
#include "ui/main/FindBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTreeWidget>
#include <QtTest>

using namespace MainFixtures;

namespace {

QPalette Themed(const QColor &window, const QColor &text, const QColor &base)
{
    QPalette p(window);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::Button, window);
    return p;
}

// What the user sees in area of a grabbed picture: the background is its most frequent
// colour, the text the pixel that stands out most from it.
struct Drawn
{
    QColor background;
    QColor ink;
    int inkPixels = 0;   // pixels with a readable contrast against the background
    double contrast() const { return ThemeColours::Contrast(ink, background); }
};

Drawn Look(const QImage &image, QRect area)
{
    area &= image.rect();
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    Drawn d;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            most = it.value(), d.background = QColor(it.key());
    d.ink = d.background;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const double c = ThemeColours::Contrast(QColor(it.key()), d.background);
        if (c > d.contrast())
            d.ink = QColor(it.key());
        if (c >= 4.5)
            d.inkPixels += it.value();
    }
    return d;
}

bool Near(const QColor &a, const QColor &b, int tolerance = 24)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) <= tolerance;
}

void ShowActive(bvlMain &w)
{
    w.show();
    if (!QTest::qWaitForWindowActive(&w))
        QTest::qFail("the window did not become active", __FILE__, __LINE__);
}

}   // namespace

class TestMainTheme : public QObject
{
    Q_OBJECT
    QPalette m_original;

private slots:
    void initTestCase() { m_original = QApplication::palette(); }
    void cleanup() { QApplication::setPalette(m_original); }

    void themes_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("dark") << Themed(QColor(45, 45, 48), QColor(228, 228, 228), QColor(30, 30, 32));
        QTest::newRow("high contrast") << Themed(Qt::black, Qt::white, Qt::black);
        QTest::newRow("high contrast white") << Themed(Qt::white, Qt::black, Qt::white);
    }

    void theMainWindowsMarksReadInEveryTheme_data() { themes_data(); }
    void theMainWindowsMarksReadInEveryTheme()
    {
        QFETCH(QPalette, palette);
        MainFixture f;
        bvlMain &w = *f.window;
        ShowActive(w);
        f.open(f.seemPath);
        // Marked under the light theme, then the desktop switches while the program runs.
        w.ShowSetting(1);
        f.check(1)->click();
        QVERIFY(HasChangeMark(f.check(1)));
        QLineEdit *number = f.text(3);
        number->setText("abc");
        QVERIFY(InputMarks::IsTextRed(number) && InputMarks::IsBackYellow(number));
        QApplication::setPalette(palette);
        QTRY_COMPARE(f.check(1)->palette().color(QPalette::WindowText),
                     ThemeColours::ForPalette(ThemeColours::Changed, palette));

        // The changed check box: bold, with its bullet, in the colour of changes, readable.
        w.ShowSetting(1);
        QCoreApplication::processEvents();
        QVERIFY(f.check(1)->text().startsWith(QChar(0x2022)) && f.check(1)->font().bold());
        const QImage check = f.check(1)->grab().toImage();
        Drawn drawn = Look(check, check.rect());
        QVERIFY2(drawn.contrast() >= 4.5, qPrintable(QString::number(drawn.contrast())));
        QVERIFY(drawn.inkPixels > 20);
        QVERIFY(Near(drawn.ink, ThemeColours::ForPalette(ThemeColours::Changed, palette)));

        // Its tree node (not the current one, drawn as selected): the same colour on the tree's base.
        w.ShowSetting(3);
        QCoreApplication::processEvents();
        QTreeWidgetItem *node = w.NodeByKey("Sound");
        QVERIFY(HasChangeMark(node));
        const QImage tree = w.tvUI->viewport()->grab().toImage();
        drawn = Look(tree, w.tvUI->visualItemRect(node));
        QVERIFY2(drawn.contrast() >= 4.5, qPrintable(QString::number(drawn.contrast())));
        QVERIFY(Near(drawn.ink, ThemeColours::ForPalette(ThemeColours::Changed, palette, QPalette::Base)));

        // The refused number: error colour on a marked background, both readable.
        w.ShowSetting(3);
        number->deselect();   // selected text is drawn in the selection's colours
        QCoreApplication::processEvents();
        const QImage box = number->grab().toImage();
        drawn = Look(box, box.rect().adjusted(4, 4, -4, -4));
        QVERIFY2(drawn.contrast() >= 4.5, qPrintable(QString::number(drawn.contrast())));
        QVERIFY(drawn.inkPixels > 10);
        QVERIFY(drawn.background != palette.color(QPalette::Base));
        const QColor error = ThemeColours::ForBackground(ThemeColours::Error, number->palette().color(QPalette::Base));
        QCOMPARE(number->palette().color(QPalette::Text), error);
        int errorPixels = 0;
        for (int y = 0; y < box.height(); ++y)
            for (int x = 0; x < box.width(); ++x)
                errorPixels += Near(box.pixelColor(x, y), error, 60);   // thin text: mostly mixed edges
        QVERIFY(errorPixels > 5);

        // Back to plain, the box follows the theme again.
        number->setText("255");
        QVERIFY(!InputMarks::IsTextRed(number));
        QCOMPARE(number->palette().color(QPalette::Text), palette.color(QPalette::Text));
    }

    void theByteMapsDifferencesReadInEveryTheme_data() { themes_data(); }
    void theByteMapsDifferencesReadInEveryTheme()
    {
        QFETCH(QPalette, palette);
        QApplication::setPalette(palette);
        ByteMapModel model;
        // Byte 0 wholly described, byte 1 partly, bits 2 and 3 of byte 2 owned twice, byte 3 by none.
        SettingStruct whole = SeemFixtures::Checkbox(0, 0xFF, 255, 0);
        SettingStruct partly = SeemFixtures::Checkbox(1, 0x01, 1, 0);
        SettingStruct a = SeemFixtures::Checkbox(2, 0x0C, 12, 0), b = SeemFixtures::Checkbox(2, 0x06, 6, 0);
        model.setImages(QByteArray::fromHex("00000000"), QByteArray::fromHex("ff010eff"));
        model.setSettings({whole, partly, a, b});
        QTableView view;
        view.setModel(&model);
        view.resize(900, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QImage image = view.viewport()->grab().toImage();
        QSet<QRgb> backgrounds;
        for (int offset = 0; offset < 4; ++offset) {
            const QModelIndex cell = model.indexOf(offset);
            QVERIFY(model.data(cell, Qt::FontRole).value<QFont>().bold());
            const Drawn drawn = Look(image, view.visualRect(cell).adjusted(1, 1, -1, -1));
            QVERIFY2(drawn.contrast() >= 4.5,
                     qPrintable(QStringLiteral("byte %1: %2").arg(offset).arg(drawn.contrast())));
            QVERIFY(drawn.inkPixels > 10);
            backgrounds.insert(drawn.background.rgb());
        }
        // Four states, four colours to tell them apart.
        QCOMPARE(backgrounds.size(), 4);
    }

    // The map window itself, built under the light theme and switched while it is open:
    // the legend's samples take the cells' new colours and their text reads, as do the
    // cells and the marked bits of the selected byte.
    void theByteMapsLegendFollowsTheTheme_data() { themes_data(); }
    void theByteMapsLegendFollowsTheTheme()
    {
        QFETCH(QPalette, palette);
        EditorFixture f;
        bvlEditSetting editor(f.ctx);
        PutRecords(editor, {SeemFixtures::Checkbox(0, 0xFF, 255, 0), SeemFixtures::Checkbox(1, 0x01, 1, 0)});
        editor.Images().setReference(QStringLiteral("0032_0001.seem"), QByteArray::fromHex("0000000000000000"));
        editor.Images().setSecond(QStringLiteral("0032_0001-after.seem"), QByteArray::fromHex("0100ff0000000000"));
        bvlByteMap *map = editor.ByteMap();
        map->Refresh();
        map->show();
        QVERIFY(QTest::qWaitForWindowExposed(map));
        QApplication::setPalette(palette);
        const auto sample = [&](const char *name) {
            return map->findChild<QLabel *>(QString::fromLatin1(name) + "Sample");
        };
        QTRY_VERIFY(
            Near(sample("lbLegendUndescribed")->palette().color(QPalette::Window), palette.color(QPalette::Base), 0));
        QCoreApplication::processEvents();

        const struct
        {
            const char *name;
            QColor background;
        } legend[] = {
            {"lbLegendWhole", ByteMapModel::StateColour(BitCoverage::ByteState::Whole, palette)},
            {"lbLegendPartly", ByteMapModel::StateColour(BitCoverage::ByteState::Partly, palette)},
            {"lbLegendUndescribed", palette.color(QPalette::Base)},
            {"lbLegendConflict", ByteMapModel::StateColour(BitCoverage::ByteState::Conflict, palette)},
            {"lbLegendDiffers", ByteMapModel::StateColour(BitCoverage::ByteState::Whole, palette)},
            {"lbLegendUndescribedDiff", ByteMapModel::UndescribedDifferenceColour(palette)},
        };
        const QImage window = map->grab().toImage();
        for (const auto &entry : legend) {
            QLabel *label = sample(entry.name);
            QVERIFY(label);
            const QRect area(label->mapTo(map, QPoint(2, 2)), label->size() - QSize(4, 4));
            const Drawn drawn = Look(window, area);
            const QString what = QStringLiteral("%1: %2").arg(entry.name).arg(drawn.contrast());
            QVERIFY2(Near(drawn.background, entry.background), qPrintable(what));
            QVERIFY2(drawn.contrast() >= 4.5 && drawn.inkPixels > 5, qPrintable(what));
        }

        // The cells under the new theme, and the selected byte's differing bit.
        const QImage cells = Ui(*map).tvBytes->viewport()->grab().toImage();
        for (qint64 offset : {0, 1, 2, 3}) {
            const Drawn drawn =
                Look(cells, Ui(*map).tvBytes->visualRect(map->model()->indexOf(offset)).adjusted(1, 1, -1, -1));
            QVERIFY2(drawn.contrast() >= 4.5 && drawn.inkPixels > 5, qPrintable(QStringLiteral("byte %1").arg(offset)));
        }
        map->SelectByte(2);
        QCoreApplication::processEvents();
        QCheckBox *bit = Ui(*map).chSecondBit[7];
        QVERIFY(bit->font().bold());
        const QImage box = bit->grab().toImage();
        const Drawn drawn = Look(box, box.rect());
        QVERIFY2(drawn.contrast() >= 4.5, qPrintable(QString::number(drawn.contrast())));
        QVERIFY(Near(drawn.ink, ThemeColours::ForPalette(ThemeColours::Changed, bit->palette()), 60));
        map->close();
    }

    void theFrameLiesInsideTheAvailableArea()
    {
        const QMargins frame(5, 32, 5, 5);
        {
            // 200 % on a 1920 x 1080 screen, a panel along the top.
            MainFixture f;
            bvlMain &w = *f.window;
            const QRect available(0, 36, 960, 504);
            w.PlaceOnScreen(available, frame);
            QVERIFY(w.ClientScrolls());
            const QRect outer(w.pos(), w.size().grownBy(frame));
            QVERIFY2(available.contains(outer), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                               .arg(outer.x())
                                                               .arg(outer.y())
                                                               .arg(outer.width())
                                                               .arg(outer.height())));
            QCOMPARE(outer.top(), available.top());
        }
        {
            // At 100 % the window stays whole, centred.
            MainFixture f;
            bvlMain &w = *f.window;
            const QRect available(0, 0, 1920, 1040);
            const QSize client = w.size();
            w.PlaceOnScreen(available, frame);
            QVERIFY(!w.ClientScrolls());
            QCOMPARE(w.size(), client);
            const QRect outer(w.pos(), w.size().grownBy(frame));
            QVERIFY(available.contains(outer));
            QVERIFY(qAbs(outer.center().y() - available.center().y()) <= 1);
        }
    }

    void theStatusLineNamesTheFileFirstAndStepsAsideForFind()
    {
        MainFixture f;
        bvlMain &w = *f.window;
        ShowActive(w);
        f.open(f.seemPath);
        // The whole text, the setting file's full path in it, stays the line's text and tool tip.
        QVERIFY(w.lbFileDesc->text().contains(w.Document->settingPath()));
        QVERIFY(w.lbFileDesc->toolTip().contains(w.Document->settingPath().toHtmlEscaped()));
        const QString lead = f.T("bvlMain.lbUsingFile_V") + "\"sample.sec\"";
        QVERIFY2(w.lbFileDesc->shownText().startsWith(lead), qPrintable(w.lbFileDesc->shownText()));
        if (!w.Document->header().Phones.isEmpty())
            QVERIFY(w.lbFileDesc->shownText().contains(w.Document->header().Phones.left(4)));

        const QRect whole = w.lbFileDesc->geometry();
        w.mnfFind_Click();
        QVERIFY(w.lbFileDesc->geometry().right() < w.txFind->geometry().left());
        QVERIFY(w.lbFileDesc->shownText().startsWith(lead.left(8)));
        QTest::keyClick(w.txFind, Qt::Key_Escape);
        QCOMPARE(w.lbFileDesc->geometry(), whole);
    }
};

QTEST_MAIN(TestMainTheme)
#include "tst_maintheme.moc"
