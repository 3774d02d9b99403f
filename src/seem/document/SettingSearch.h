#pragma once
#include "core/SettingTypes.h"

#include <QString>
#include <QVector>

// Finding settings by what people remember of them: a part of the name or of the
// description, in any letter case.

// 1-based numbers of the settings whose name or description contains query, ignoring
// case, in setting order; none for an empty query.
QVector<int> SettingsMatching(const SettingList &settings, const QString &query);

enum class SearchDirection {
    Forward,
    Backward
};

// The match to go to from setting number from (0: before the first setting). With
// includeFrom, from itself counts (the search as the query is typed); otherwise the next
// match strictly after (or before) it. Wraps around past either end; 0 without matches.
int NextMatch(const QVector<int> &matches, int from, SearchDirection direction, bool includeFrom);
