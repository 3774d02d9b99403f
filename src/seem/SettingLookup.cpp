#include "seem/SettingLookup.h"

#include <QStringList>

namespace {
const QChar PathSeparator(QLatin1Char('\\'));

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
    if (WithoutBlanks(group).isEmpty())
        return QStringLiteral("Unknown");
    QStringList elements = group.split(PathSeparator);
    for (QString &element : elements)
        element = WithoutBlanks(element);
    return elements.join(PathSeparator);
}

QString SettingPathOf(const SettingStruct &setting)
{
    return NormalisedGroup(setting.Group) + PathSeparator + setting.Name;
}

SettingMatch FindSetting(const SettingList &settings, const QString &query)
{
    return SettingIndex(settings).find(query);
}

SettingIndex::SettingIndex(const SettingList &settings)
{
    for (int i = 0; i < settings.size(); ++i) {
        m_byPath[SettingPathOf(settings.at(i))].append(i + 1);
        m_byName[settings.at(i).Name].append(i + 1);
    }
}

SettingMatch SettingIndex::find(const QString &query) const
{
    const QVector<int> byPath = m_byPath.value(query);
    return MatchOf(byPath.isEmpty() ? m_byName.value(query) : byPath);
}
