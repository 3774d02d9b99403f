#pragma once
#include <QString>
#include <QStringList>

class Platform;

// The SEEM files opened last, newest first, kept in the preferences ("UI"/"RecentFiles")
// so that the next start can offer them again. Files that are gone are dropped when the
// list is read; a file opened again moves to the front instead of being listed twice.
class RecentFiles
{
public:
    static constexpr int MaxCount = 8;

    explicit RecentFiles(Platform &platform) : m_platform(platform) {}

    // The stored list without the files that no longer exist (stored again when some were
    // dropped), at most MaxCount entries.
    QStringList read();
    // Puts path first and stores the list.
    void add(const QString &path);
    // Empties the stored list.
    void clear();

    // list with path first, an earlier entry of the same file removed, cut to MaxCount.
    static QStringList withFirst(const QStringList &list, const QString &path);
    // The preference's text for list, and the list a preference's text holds (an unreadable
    // text holds none).
    static QString toPreference(const QStringList &list);
    static QStringList fromPreference(const QString &text);

private:
    void write(const QStringList &list);

    Platform &m_platform;
};
