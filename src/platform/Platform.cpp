#include "platform/Platform.h"

#include <QDir>
#include <QStringList>

QString QtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << parts.at(i) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

QString JoinPath(const QString &folder, const QString &fileName)
{
    if (folder.isEmpty())
        return fileName;
    QString joined = QDir::cleanPath(folder + QLatin1Char('/') + fileName);
    return QDir::toNativeSeparators(joined);
}
