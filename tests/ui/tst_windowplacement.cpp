#include "ui/WindowPlacement.h"

#include <QtTest>

// Where a window opens: centred where asked, smaller and moved where the screen ends.
class TestWindowPlacement : public QObject
{
    Q_OBJECT
private slots:
    void insideTheAvailableArea_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QPoint>("centre");
        QTest::addColumn<QRect>("placed");
        const QRect area(0, 30, 800, 570);   // a panel above
        QTest::newRow("fits, centred") << QSize(400, 200) << QPoint(400, 300) << QRect(200, 200, 400, 200);
        QTest::newRow("taller than the area") << QSize(720, 700) << QPoint(400, 300) << QRect(40, 30, 720, 570);
        QTest::newRow("owner near the bottom right")
            << QSize(300, 300) << QPoint(780, 590) << QRect(500, 300, 300, 300);
        QTest::newRow("owner above the top") << QSize(300, 300) << QPoint(100, 0) << QRect(0, 30, 300, 300);
    }
    void insideTheAvailableArea()
    {
        QFETCH(QSize, frame);
        QFETCH(QPoint, centre);
        QFETCH(QRect, placed);
        QCOMPARE(PlacedInside(frame, QRect(0, 30, 800, 570), centre), placed);
    }
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
