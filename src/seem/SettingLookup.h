#pragma once
#include "core/SettingTypes.h"

#include <QHash>
#include <QString>
#include <QVector>

// Finding settings by name, the way people write them: 'GROUP\NAME', or a bare NAME
// when no other setting has that name. Groups are compared in the form the main window
// shows them (see NormalisedGroup).

// The group path as the window's tree shows it: every element between "\" trimmed of
// blanks, a blank path "Unknown". Empty elements stay.
QString NormalisedGroup(const QString &group);
// text without the blanks (U+0020, nothing else) at its ends.
QString WithoutBlanks(const QString &text);

// 'GROUP\NAME' with the normalised group.
QString SettingPathOf(const SettingStruct &setting);

struct SettingMatch
{
    enum Result { Found, Unknown, Ambiguous };
    Result result = Unknown;
    QVector<int> indices;   // 1-based: the one found, or every candidate when ambiguous

    int index() const { return result == Found ? indices.first() : 0; }
};

// An exact 'GROUP\NAME' match wins; without one the query is taken as a bare name.
// Case-sensitive, as the window's labels are.
SettingMatch FindSetting(const SettingList &settings, const QString &query);

// The same lookup for many queries: every setting's path and name are worked out once,
// so that each query costs a hash lookup instead of a pass over all settings.
class SettingIndex
{
public:
    explicit SettingIndex(const SettingList &settings);
    SettingMatch find(const QString &query) const;

private:
    // Settings sharing one key are chained: a hash holds the last of them, and each setting
    // the one before it with the same key (0 for none). No list per key, and one entry per
    // distinct key, for tens of thousands of settings. Numbers are 1-based.
    struct Keyed
    {
        QHash<QString, int> last;
        QVector<int> previous;   // by setting number - 1

        void add(const QString &key, int number);
        QVector<int> all(const QString &key) const;   // in file order
    };
    Keyed m_byPath;
    Keyed m_byName;
};

// The settings whose names come nearest to a query that names none, for "did you mean":
// letter case is ignored, and a name within a small edit distance (one change in short
// names, up to three in long ones) counts, compared both as 'GROUP\NAME' and as the bare
// name. Those that differ only in letter case come first, then by distance, then in file
// order; at most limit of them, 1-based.
QVector<int> NearestSettings(const SettingList &settings, const QString &query, int limit = 3);
