#include "seem/SettingLookup.h"

#include <QStringList>

#include <algorithm>

namespace {
const QChar PathSeparator(QLatin1Char('\\'));

// Edit distance of a and b (both already case-folded), or limit + 1 when it is larger.
int BoundedDistance(const QString &a, const QString &b, int limit)
{
    if (qAbs(a.size() - b.size()) > limit)
        return limit + 1;
    QVector<int> previous(b.size() + 1);
    QVector<int> current(b.size() + 1);
    for (int j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (int i = 1; i <= a.size(); ++i) {
        current[0] = i;
        int rowBest = current[0];
        for (int j = 1; j <= b.size(); ++j) {
            const int substitution = previous[j - 1] + (a.at(i - 1) == b.at(j - 1) ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitution});
            rowBest = std::min(rowBest, current[j]);
        }
        if (rowBest > limit)
            return limit + 1;
        std::swap(previous, current);
    }
    return std::min(previous[b.size()], limit + 1);
}

SettingMatch MatchOf(const QVector<int> &indices)
{
    SettingMatch match;
    match.indices = indices;
    if (indices.size() == 1)
        match.result = SettingMatch::Found;
    else if (indices.size() > 1)
        match.result = SettingMatch::Ambiguous;
    return match;
}
}

QString WithoutBlanks(const QString &text)
{
    // Blanks (U+0020) only: a tab or a no-break space is part of the name, so that
    // "Net<tab>" stays a group of its own and does not merge with "Net".
    const QChar blank(QLatin1Char(' '));
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text.at(first) == blank)
        ++first;
    while (end > first && text.at(end - 1) == blank)
        --end;
    return text.mid(first, end - first);
}

QString NormalisedGroup(const QString &group)
{
    // Most groups are written as the tree shows them: those are returned as they are,
    // without splitting and joining (a profile of 20,000 settings names each one).
    const QChar blank(QLatin1Char(' '));
    bool blankAtElementEnd = group.isEmpty();
    for (qsizetype i = 0; i < group.size() && !blankAtElementEnd; ++i)
        blankAtElementEnd = group.at(i) == blank
            && (i == 0 || i + 1 == group.size() || group.at(i - 1) == PathSeparator || group.at(i + 1) == PathSeparator);
    if (!blankAtElementEnd)
        return group;
    if (WithoutBlanks(group).isEmpty())
        return QStringLiteral("Unknown");
    QStringList elements = group.split(PathSeparator);
    for (QString &element : elements)
        element = WithoutBlanks(element);
    return elements.join(PathSeparator);
}

QString SettingPathOf(const SettingStruct &setting)
{
    // Built in a string of its own: appending to a copy of the group would first copy
    // whatever buffer the group's text shares.
    const QString group = NormalisedGroup(setting.Group);
    QString path;
    path.reserve(group.size() + 1 + setting.Name.size());
    path += group;
    path += PathSeparator;
    path += setting.Name;
    return path;
}

SettingMatch FindSetting(const SettingList &settings, const QString &query)
{
    return SettingIndex(settings).find(query);
}

void SettingIndex::Keyed::add(const QString &key, int number)
{
    int &slot = last[key];   // 0 when new
    previous[number - 1] = slot;
    slot = number;
}

QVector<int> SettingIndex::Keyed::all(const QString &key) const
{
    QVector<int> numbers;
    for (int number = last.value(key); number != 0; number = previous.at(number - 1))
        numbers.append(number);
    std::reverse(numbers.begin(), numbers.end());
    return numbers;
}

SettingIndex::SettingIndex(const SettingList &settings)
{
    for (Keyed *keyed : {&m_byPath, &m_byName}) {
        keyed->last.reserve(settings.size());
        keyed->previous.resize(settings.size());
    }
    for (int i = 0; i < settings.size(); ++i) {
        m_byPath.add(SettingPathOf(settings.at(i)), i + 1);
        m_byName.add(settings.at(i).Name, i + 1);
    }
}

SettingMatch SettingIndex::find(const QString &query) const
{
    const QVector<int> byPath = m_byPath.all(query);
    return MatchOf(byPath.isEmpty() ? m_byName.all(query) : byPath);
}

QVector<int> NearestSettings(const SettingList &settings, const QString &query, int limit)
{
    const QString folded = query.toCaseFolded();
    const int allowed = qBound(1, int(folded.size()) / 4, 3);
    struct Candidate
    {
        int distance;   // -1: the same but for letter case
        int index;
    };
    QVector<Candidate> candidates;
    for (int i = 0; i < settings.size(); ++i) {
        const QString path = SettingPathOf(settings.at(i)).toCaseFolded();
        const QString name = settings.at(i).Name.toCaseFolded();
        int distance;
        if (path == folded || name == folded)
            distance = -1;
        else
            distance = std::min(BoundedDistance(folded, path, allowed), BoundedDistance(folded, name, allowed));
        if (distance <= allowed)
            candidates.append({distance, i + 1});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate &a, const Candidate &b) { return a.distance < b.distance; });
    QVector<int> nearest;
    for (int k = 0; k < candidates.size() && k < limit; ++k)
        nearest.append(candidates.at(k).index);
    return nearest;
}
