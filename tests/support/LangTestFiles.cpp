#include "support/LangTestFiles.h"

#include "platform/Platform.h"

#include <QFile>
#include <QTest>

QString WriteLangFile(const QString &folder, const QString &fileName, const QByteArray &bytes)
{
    const QString path = JoinPath(folder, fileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        QTest::qFail(qPrintable(QStringLiteral("cannot write test file ") + path), __FILE__, __LINE__);
    return path;
}

QByteArray LangFileBytes(const QByteArray &languageName, const QByteArray &extraLines)
{
    return "Main.LangName=" + languageName + "\r\n" + extraLines;
}
