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

// A name that thousands of settings share is told with the first few of them.
constexpr int MaxNamedCandidates = 8;

struct SettingMatch
{
    enum Result {
        Found,
        Unknown,
        Ambiguous
    };
    Result result = Unknown;
    QVector<int> indices;   // 1-based: the one found, or the first MaxNamedCandidates candidates when ambiguous
    int count = 0;          // how many settings the query names

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
    // Settings sharing one key are chained: a hash holds the first and last of them and
    // their count, and each setting the next one with the same key (0 for none). No list per
    // key, and one entry per distinct key, for tens of thousands of settings; a lookup walks
    // no further than the candidates it names. Numbers are 1-based.
    struct Keyed
    {
        struct Chain
        {
            int first = 0;
            int last = 0;
            int count = 0;
        };
        QHash<QString, Chain> chains;
        QVector<int> next;   // by setting number - 1

        void add(const QString &key, int number);
        SettingMatch match(const QString &key) const;
    };
    Keyed m_byPath;
    Keyed m_byName;
};

// "; did you mean "A" or "B"?" for the names given, or nothing for none: one wording for
// setting names and list entries in every door.
QString DidYouMean(const QStringList &names);

class NearestNames;
// DidYouMean of the full names of the settings nearest to query.
QString DidYouMeanSetting(const NearestNames &names, const SettingList &settings, const QString &query);

// The settings whose names come nearest to a query that names none, for "did you mean":
// letter case is ignored, and a name within a small edit distance (one change in short
// names, up to three in long ones) counts, compared both as 'GROUP\NAME' and as the bare
// name. Those that differ only in letter case come first, then by distance, then in file
// order; at most limit of them, 1-based.
//
// The names are folded once; each query then compares only names whose length is within
// its distance, in a band of the distance table, and gives up past a fixed amount of work:
// a query costs at most that much, whatever the file and the query hold.
class NearestNames
{
public:
    explicit NearestNames(const SettingList &settings);
    QVector<int> nearest(const QString &query, int limit = 3) const;

    // Queries longer than this get no suggestion: nobody mistypes a name that long.
    static constexpr int MaxQueryLength = 256;
    // Table cells one query may fill before it stops looking.
    static constexpr qint64 MaxCellsPerQuery = 2 * 1024 * 1024;

    qint64 cellsComputed() const { return m_cells; }   // over all queries so far

private:
    struct Folded
    {
        QString text;
        int index;   // 1-based setting number
    };
    QHash<int, QVector<Folded>> m_byLength;   // paths and bare names, by length
    mutable qint64 m_cells = 0;
};
