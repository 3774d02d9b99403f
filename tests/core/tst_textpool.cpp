#include "core/TextPool.h"

#include <QtTest>

// Texts from one pool share its buffer; each must still behave as a string of its own.
class TestTextPool : public QObject
{
    Q_OBJECT
private slots:
    void textsAreIndependentStrings()
    {
        QString first, second, third;
        {
            TextPool pool(16);
            first = pool.decode("Sound");
            second = pool.decode("Calls\xA7");
            third = pool.decode("");
        }   // the texts keep the buffer once the pool is gone
        QCOMPARE(second, QStringLiteral("Calls\u00A7"));
        QVERIFY(!third.isNull() && third.isEmpty());
        QCOMPARE(QStringView(reinterpret_cast<const char16_t *>(first.utf16())), u"Sound");   // terminated

        first.append(QStringLiteral(" and more"));   // shared: copies out, leaves the next text alone
        QCOMPARE(first, QStringLiteral("Sound and more"));
        QCOMPARE(second, QStringLiteral("Calls\u00A7"));

        second.prepend(QStringLiteral("Incoming "));   // alone in the buffer now: may grow in place
        second.append(QString(40, QLatin1Char('!')));
        QCOMPARE(second, QStringLiteral("Incoming Calls\u00A7") + QString(40, QLatin1Char('!')));
    }

    void fullPoolFallsBackToOwnStrings()
    {
        TextPool pool(6);   // "Sound" and its terminator fill it
        const QString inPool = pool.decode("Sound");
        const QString beyond = pool.decode("Calls");
        QCOMPARE(inPool + beyond, QStringLiteral("SoundCalls"));
    }

    // A text copied out to be changed must not drag the pool's memory along: a group path
    // with a name appended, for each of 20,000 settings, once took megabytes apiece.
    void changedCopyStaysSmall()
    {
        const qsizetype capacity = 2'000'000;
        TextPool pool(capacity);
        QString last;
        for (int i = 0; i < 50'000; ++i)
            last = pool.decode(QByteArray("Menu 1\\Group ") + QByteArray::number(i));
        QString path = last;
        path += QLatin1Char('\\');
        QCOMPARE(path, QStringLiteral("Menu 1\\Group 49999\\"));
        QVERIFY2(path.capacity() < 2 * TextPool::ChunkChars,
                 qPrintable(QStringLiteral("capacity %1").arg(path.capacity())));
    }
};

QTEST_APPLESS_MAIN(TestTextPool)
#include "tst_textpool.moc"
