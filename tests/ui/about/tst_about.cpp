#include "support/ScriptedPlatform.h"
#include "ui/AppContext.h"
#include "ui/Twips.h"
#include "ui/about/PictureBox.h"
#include "ui/about/bvlAbout.h"

#include <QLabel>
#include <QSet>
#include <QTimer>
#include <QtTest>

namespace {
const QImage &picture(bvlAbout &about, const char *box)
{
    return about.findChild<PictureBox *>(QLatin1String(box))->picture();
}

// The image rotated left by split pixels.
QImage rotatedLeft(const QImage &image, int split)
{
    QImage out(image.size(), image.format());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            out.setPixel(x, y, image.pixel((x + split) % image.width(), y));
    return out;
}

void tick(bvlAbout &about, int times)
{
    for (int i = 0; i < times; ++i)
        about.tmAnimation_Timer();
}
}   // namespace

class TestAbout : public QObject
{
    Q_OBJECT
private slots:
    void showsVersionAndFixedTexts()
    {
        ScriptedPlatform platform;
        AppContext ctx(platform);
        bvlAbout about(ctx);
        QCOMPARE(about.windowTitle(), QStringLiteral("About"));
        auto *version = about.findChild<QLabel *>("lbVersion");
        QVERIFY(version);
        QCOMPARE(version->text(), QStringLiteral("V1.01.500_Tavik"));
        QVERIFY(version->font().bold());
        QCOMPARE(version->font().pointSizeF(), 11.25);
        QCOMPARE(about.findChild<QLabel *>("Label4")->text(),
                 QStringLiteral("Help me make this program better! Please mail all question and bug reports to:"));
        QCOMPARE(about.findChild<QLabel *>("Label5")->text(), QStringLiteral("Homepage:"));
    }

    // Desktop fonts are wider than the layout's; no label may lose text off its edges.
    void everyLabelFitsItsBox()
    {
        ScriptedPlatform platform;
        AppContext ctx(platform);
        bvlAbout about(ctx);
        QCOMPARE(about.size(), QSize(TwipsToPixelsX(6060), TwipsToPixelsY(3630)));
        QCOMPARE(about.minimumSize(), about.maximumSize());
        const QRect client(QPoint(0, 0), about.size());
        for (QLabel *label : about.findChildren<QLabel *>()) {
            const QFontMetrics metrics(label->font());
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(), qPrintable(label->objectName()));
            QVERIFY2(metrics.height() <= label->height() + 2, qPrintable(label->objectName()));
            QVERIFY2(client.contains(label->geometry()), qPrintable(label->objectName()));
            QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        }
    }

    void linksHandTheirExactTextToTheShell()
    {
        ScriptedPlatform platform;
        AppContext ctx(platform);
        bvlAbout about(ctx);
        about.show();
        auto *mail = about.findChild<QLabel *>("Label3");
        auto *home = about.findChild<QLabel *>("Label2");
        QCOMPARE(mail->cursor().shape(), Qt::PointingHandCursor);

        QTest::mouseClick(about.findChild<QLabel *>("Label4"), Qt::LeftButton);
        QTest::mouseClick(mail, Qt::LeftButton);
        QTest::mouseClick(home, Qt::LeftButton);
        QTest::mouseClick(mail, Qt::RightButton);
        // A press dragged off the link before release is no click.
        QTest::mousePress(mail, Qt::LeftButton);
        QTest::mouseRelease(mail, Qt::LeftButton, {}, QPoint(-5, -5));

        const auto opened = platform.callsOf(ScriptedPlatform::Kind::ShellOpen);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0].text, QStringLiteral("mailto:brimvale-edit@example.org"));
        QCOMPARE(opened[0].text, QStringLiteral("mailto:") + mail->text());
        QCOMPARE(opened[1].text, QStringLiteral("https://brimvale.example.org/"));
        QCOMPARE(opened[1].text, home->text());
        QVERIFY(about.isVisible());
    }

    void escapeClosesFromEveryControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        const QList<Qt::KeyboardModifiers> modifiers = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                                        Qt::AltModifier, Qt::ShiftModifier | Qt::ControlModifier};
        const QStringList controls = {"bvlAbout", "lbVersion", "Label1", "Label2",
                                      "Label3",   "Label4",    "Label5", "pDest"};
        for (int i = 0; i < controls.size(); ++i)
            QTest::newRow(qPrintable(controls[i])) << controls[i] << modifiers[i % modifiers.size()];
    }
    void escapeClosesFromEveryControl()
    {
        QFETCH(QString, control);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        ScriptedPlatform platform;
        AppContext ctx(platform);
        bvlAbout about(ctx);
        about.show();
        QWidget *target = control == about.objectName() ? &about : about.findChild<QWidget *>(control);
        QVERIFY(target);
        auto *timer = about.findChild<QTimer *>("tmAnimation");

        QTest::keyClick(target, Qt::Key_Return, modifiers);
        QTest::keyClick(target, Qt::Key_A, modifiers);
        QVERIFY(about.isVisible());

        QTest::keyClick(target, Qt::Key_Escape, modifiers);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Rejected));
        QVERIFY(!timer->isActive());
    }

    // The way the main window uses it: a modal exec() that Escape ends.
    void escapeEndsTheModalLoop()
    {
        ScriptedPlatform platform;
        AppContext ctx(platform);
        QWidget owner;
        owner.setGeometry(100, 100, 600, 400);   // inside the 800 x 600 offscreen screen
        owner.show();
        bvlAbout about(ctx, &owner);
        bool wasModalAndTicking = false;
        QPoint offCentre;
        QTimer::singleShot(0, [&] {
            wasModalAndTicking =
                QApplication::activeModalWidget() == &about && about.findChild<QTimer *>("tmAnimation")->isActive();
            offCentre = about.geometry().center() - owner.geometry().center();
            QTest::keyClick(about.findChild<QWidget *>("Label1"), Qt::Key_Escape, Qt::ShiftModifier);
        });
        QCOMPARE(about.exec(), int(QDialog::Rejected));
        QVERIFY(wasModalAndTicking);
        QVERIFY2(offCentre.manhattanLength() <= 4, "not centred on its owner");
    }

    void bannerStartsAtZeroOnEveryOpening()
    {
        ScriptedPlatform platform;
        AppContext ctx(platform);
        {
            bvlAbout first(ctx);
            auto *timer = first.findChild<QTimer *>("tmAnimation");
            QVERIFY(timer->isActive());
            QCOMPARE(timer->interval(), 25);
            QCOMPARE(first.BannerOffset, 0);
            QCOMPARE(picture(first, "pDest"), picture(first, "pSrc"));
            tick(first, 500);
            QCOMPARE(first.BannerOffset, 500);
        }
        bvlAbout second(ctx);
        QCOMPARE(second.BannerOffset, 0);
        QCOMPARE(picture(second, "pDest"), picture(second, "pSrc"));
    }

    void bannerOffsetAdvancesAndWraps()
    {
        ScriptedPlatform platform;
        AppContext ctx(platform);
        bvlAbout about(ctx);
        const int W = bvlAbout::BannerWidth;
        QCOMPARE(W, 6060);

        tick(about, 1);
        QCOMPARE(about.BannerOffset, 1);
        const QImage afterFirstTick = picture(about, "pDest");
        tick(about, 2);
        QCOMPARE(about.BannerOffset, 3);
        tick(about, W - 1 - 3);
        QCOMPARE(about.BannerOffset, W - 1);
        // One full turn is W - 1 ticks: the next one is back at 1 and looks the same.
        tick(about, 1);
        QCOMPARE(about.BannerOffset, 1);
        QCOMPARE(picture(about, "pDest"), afterFirstTick);
    }

    // pDest is the picture rotated left: at half a turn, by half its width.
    void bannerShowsThePictureRotated_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<double>("fraction");
        QTest::newRow("quarter") << bvlAbout::BannerWidth / 4 << 0.25;
        QTest::newRow("half") << bvlAbout::BannerWidth / 2 << 0.5;
        QTest::newRow("last") << bvlAbout::BannerWidth - 1 << 1.0;
    }
    void bannerShowsThePictureRotated()
    {
        QFETCH(int, offset);
        QFETCH(double, fraction);
        ScriptedPlatform platform;
        AppContext ctx(platform);
        bvlAbout about(ctx);
        about.BannerOffset = offset - 1;
        tick(about, 1);
        QCOMPARE(about.BannerOffset, offset);
        const QImage &source = picture(about, "pSrc");
        const int split = qRound(source.width() * fraction);
        QCOMPARE(picture(about, "pDest"), rotatedLeft(source, split));
    }

    // The banner scrolls round and round: it must have content and no visible seam.
    void bannerPictureIsDrawnAndWrapsSeamlessly()
    {
        ScriptedPlatform platform;
        AppContext ctx(platform);
        bvlAbout about(ctx);
        auto *source = about.findChild<PictureBox *>("pSrc");
        QVERIFY(!source->isVisibleTo(&about));
        const QImage &banner = source->picture();
        QCOMPARE(banner.size(), about.findChild<PictureBox *>("pDest")->size());
        QCOMPARE(banner.size(), QSize(TwipsToPixelsX(6060), TwipsToPixelsY(1350)));

        QSet<QRgb> colours;
        for (int y = 0; y < banner.height(); ++y)
            for (int x = 0; x < banner.width(); ++x)
                colours.insert(banner.pixel(x, y));
        QVERIFY2(colours.size() > 50, "the banner looks flat");

        const int last = banner.width() - 1;
        for (int y = 0; y < banner.height(); ++y) {
            const QColor left = banner.pixelColor(0, y), right = banner.pixelColor(last, y);
            const int difference =
                qAbs(left.red() - right.red()) + qAbs(left.green() - right.green()) + qAbs(left.blue() - right.blue());
            QVERIFY2(difference < 24, qPrintable(QStringLiteral("seam at row %1").arg(y)));
        }
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
