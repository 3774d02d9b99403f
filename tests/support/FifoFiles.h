#pragma once
#include <QFile>
#include <QString>
#include <QTest>

#include <sys/stat.h>

// A FIFO at path that no process writes into: a reader that opened it blocking would wait
// for ever, so tests that give it to a reader run under an alarm.
inline QString MakeFifo(const QString &path)
{
    if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        QTest::qFail("cannot make a FIFO", __FILE__, __LINE__);
    return path;
}
