#include "seem/document/SettingSearch.h"

#include <algorithm>

QVector<int> SettingsMatching(const SettingList &settings, const QString &query)
{
    QVector<int> matches;
    if (query.isEmpty())
        return matches;
    for (int i = 0; i < settings.size(); ++i) {
        const SettingStruct &s = settings.at(i);
        if (s.Name.contains(query, Qt::CaseInsensitive) || s.Description.contains(query, Qt::CaseInsensitive))
            matches.append(i + 1);
    }
    return matches;
}

int NextMatch(const QVector<int> &matches, int from, SearchDirection direction, bool includeFrom)
{
    if (matches.isEmpty())
        return 0;
    if (direction == SearchDirection::Forward) {
        const auto next = includeFrom ? std::lower_bound(matches.begin(), matches.end(), from)
                                      : std::upper_bound(matches.begin(), matches.end(), from);
        return next != matches.end() ? *next : matches.first();
    }
    // The last match before from (or at it), else the last of all.
    const auto after = includeFrom ? std::upper_bound(matches.begin(), matches.end(), from)
                                   : std::lower_bound(matches.begin(), matches.end(), from);
    return after != matches.begin() ? *(after - 1) : matches.last();
}
