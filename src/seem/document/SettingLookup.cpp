#include "seem/document/SettingLookup.h"

#include <QStringList>

#include <algorithm>

namespace {
const QChar PathSeparator(QLatin1Char('\\'));

// Edit distance of a and b (both already case-folded), or limit + 1 when it is larger.
// Only the cells within limit of the diagonal can hold limit or less: those are filled,
// and counted in cells. previous and current are the caller's, reused from call to call.
int BoundedDistance(const QString &a, const QString &b, int limit, QVector<int> &previous, QVector<int> &current,
                    qint64 &cells)
{
    const int n = int(a.size());
    const int m = int(b.size());
    const int over = limit + 1;
    if (qAbs(n - m) > limit)
        return over;
    if (previous.size() < m + 2) {
        previous.resize(m + 2);
        current.resize(m + 2);
    }
    const QChar *left = a.constData();
    const QChar *right = b.constData();
    int *above = previous.data();
    int *row = current.data();
    // Row 0 as far as row 1's band reads it.
    const int firstBand = qMin(m, limit);
    for (int j = 0; j <= firstBand; ++j)
        above[j] = j;
    above[firstBand + 1] = over;
    for (int i = 1; i <= n; ++i) {
        const int from = qMax(1, i - limit);
        const int to = qMin(m, i + limit);
        row[from - 1] = from == 1 && i <= limit ? i : over;
        int rowBest = row[from - 1];
        for (int j = from; j <= to; ++j) {
            int cell = above[j - 1] + (left[i - 1] == right[j - 1] ? 0 : 1);
            cell = qMin(cell, qMin(above[j], row[j - 1]) + 1);
            row[j] = qMin(cell, over);
            rowBest = qMin(rowBest, row[j]);
        }
        cells += to - from + 1;
        if (rowBest > limit)
            return over;
        row[to + 1] = over;   // the next row reads one cell past this row's band
        std::swap(above, row);
    }
    return qMin(above[m], over);
}
}   // namespace

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
                            && (i == 0 || i + 1 == group.size() || group.at(i - 1) == PathSeparator
                                || group.at(i + 1) == PathSeparator);
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
    Chain &chain = chains[key];
    if (chain.count == 0)
        chain.first = number;
    else
        next[chain.last - 1] = number;
    chain.last = number;
    ++chain.count;
}

SettingMatch SettingIndex::Keyed::match(const QString &key) const
{
    const Chain chain = chains.value(key);
    SettingMatch match;
    match.count = chain.count;
    match.result = chain.count == 0   ? SettingMatch::Unknown
                   : chain.count == 1 ? SettingMatch::Found
                                      : SettingMatch::Ambiguous;
    for (int number = chain.first; number != 0 && match.indices.size() < MaxNamedCandidates;
         number = next.at(number - 1))
        match.indices.append(number);
    return match;
}

SettingIndex::SettingIndex(const SettingList &settings)
{
    for (Keyed *keyed : {&m_byPath, &m_byName}) {
        keyed->chains.reserve(settings.size());
        keyed->next.resize(settings.size());
    }
    for (int i = 0; i < settings.size(); ++i) {
        m_byPath.add(SettingPathOf(settings.at(i)), i + 1);
        m_byName.add(settings.at(i).Name, i + 1);
    }
}

SettingMatch SettingIndex::find(const QString &query) const
{
    const SettingMatch byPath = m_byPath.match(query);
    return byPath.result == SettingMatch::Unknown ? m_byName.match(query) : byPath;
}

NearestNames::NearestNames(const SettingList &settings)
{
    for (int i = 0; i < settings.size(); ++i) {
        for (const QString &text : {SettingPathOf(settings.at(i)), settings.at(i).Name}) {
            if (text.size() > MaxQueryLength + 3)
                continue;   // farther from any query than a suggestion reaches
            QString folded = text.toCaseFolded();
            const int length = int(folded.size());
            m_byLength[length].append(Folded{std::move(folded), i + 1});
        }
    }
}

QVector<int> NearestNames::nearest(const QString &query, int limit) const
{
    if (query.size() > MaxQueryLength)
        return {};
    const QString folded = query.toCaseFolded();
    const int length = int(folded.size());
    const int allowed = qBound(1, length / 4, 3);
    // Best distance by setting: 0 is the same name but for letter case.
    QHash<int, int> distances;
    QVector<int> previous;
    QVector<int> current;
    const qint64 budget = m_cells + MaxCellsPerQuery;
    for (int size = length - allowed; size <= length + allowed && m_cells < budget; ++size) {
        const auto bucket = m_byLength.constFind(size);
        if (bucket == m_byLength.cend())
            continue;
        for (const Folded &name : *bucket) {
            if (m_cells >= budget)
                break;
            const int distance = BoundedDistance(folded, name.text, allowed, previous, current, m_cells);
            if (distance > allowed)
                continue;
            const auto known = distances.constFind(name.index);
            if (known == distances.cend() || distance < *known)
                distances.insert(name.index, distance);
        }
    }
    QVector<QPair<int, int>> candidates;   // distance, setting
    candidates.reserve(distances.size());
    for (auto it = distances.cbegin(); it != distances.cend(); ++it)
        candidates.append({it.value(), it.key()});
    const int count = qMin(limit, int(candidates.size()));
    std::partial_sort(candidates.begin(), candidates.begin() + count, candidates.end());
    QVector<int> nearest;
    for (int k = 0; k < count; ++k)
        nearest.append(candidates.at(k).second);
    return nearest;
}

QString DidYouMean(const QStringList &names)
{
    if (names.isEmpty())
        return QString();
    QStringList quoted;
    for (const QString &name : names)
        quoted << QLatin1Char('"') + name + QLatin1Char('"');
    return QStringLiteral("; did you mean %1?").arg(quoted.join(QStringLiteral(" or ")));
}

QString DidYouMeanSetting(const NearestNames &names, const SettingList &settings, const QString &query)
{
    QStringList nearest;
    for (int index : names.nearest(query))
        nearest << SettingPathOf(settings.at(index - 1));
    return DidYouMean(nearest);
}
