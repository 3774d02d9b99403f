#include "cli/LongOutput.h"

#include <QBuffer>
#include <QtTest>

// A long report written in pieces reads as the text it was made from, whatever character
// falls where a piece ends.
class TestLongOutput : public QObject
{
    Q_OBJECT
private slots:
    void piecesJoinIntoTheText()
    {
        for (const qsizetype before : {qsizetype(16 * 1024 - 1), qsizetype(16 * 1024), qsizetype(40000)}) {
            // A character beyond the BMP (a surrogate pair) across the end of the first piece.
            const QString text = QString(before, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x98\x80 Grüße\n")
                                 + QString(30000, QLatin1Char('b'));
            QBuffer device;
            device.open(QIODevice::WriteOnly);
            {
                QTextStream out(&device);
                WriteLongText(out, text);
            }
            QCOMPARE(device.data(), text.toUtf8());
            QString captured;
            QTextStream toString(&captured);
            WriteLongText(toString, text);
            QCOMPARE(captured, text);
        }
    }
};

QTEST_APPLESS_MAIN(TestLongOutput)
#include "tst_longoutput.moc"
