#include "seem/document/RecentFiles.h"

#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

namespace {
const QString Section = QStringLiteral("UI");
const QString Key = QStringLiteral("RecentFiles");

// One spelling per file, so that "a/../b.seem" and "b.seem" are one entry.
QString Normalised(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
}   // namespace

QStringList RecentFiles::withFirst(const QStringList &list, const QString &path)
{
    const QString first = Normalised(path);
    QStringList result{first};
    for (const QString &entry : list)
        if (Normalised(entry) != first && result.size() < MaxCount)
            result.append(entry);
    return result;
}

QString RecentFiles::toPreference(const QStringList &list)
{
    // JSON, so that any character a file name may hold survives.
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(list)).toJson(QJsonDocument::Compact));
}

QStringList RecentFiles::fromPreference(const QString &text)
{
    QStringList list;
    const QJsonDocument json = QJsonDocument::fromJson(text.toUtf8());
    for (const QJsonValue &entry : json.array())
        if (entry.isString() && !entry.toString().isEmpty() && list.size() < MaxCount)
            list.append(entry.toString());
    return list;
}

QStringList RecentFiles::read()
{
    const QStringList list = fromPreference(m_platform.readPreference(Section, Key, QString()));
    QStringList existing;
    for (const QString &path : list)
        if (QFileInfo(path).isFile())
            existing.append(path);
    if (existing != list)
        write(existing);
    return existing;
}

void RecentFiles::add(const QString &path)
{
    write(withFirst(fromPreference(m_platform.readPreference(Section, Key, QString())), path));
}

void RecentFiles::clear()
{
    write({});
}

void RecentFiles::write(const QStringList &list)
{
    m_platform.writePreference(Section, Key, toPreference(list));
}
