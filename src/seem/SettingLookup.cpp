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

QString NormalisedGroup(const QString &group)
{
    if (group.trimmed().isEmpty())
        return QStringLiteral("Unknown");
    QStringList elements = group.split(PathSeparator);
    for (QString &element : elements)
        element = element.trimmed();
    return elements.join(PathSeparator);
}

QString SettingPathOf(const SettingStruct &setting)
{
    return NormalisedGroup(setting.Group) + PathSeparator + setting.Name;
}

SettingMatch FindSetting(const SettingList &settings, const QString &query)
{
    QVector<int> byPath;
    QVector<int> byName;
    for (int i = 0; i < settings.size(); ++i) {
        if (SettingPathOf(settings.at(i)) == query)
            byPath.append(i + 1);
        if (settings.at(i).Name == query)
            byName.append(i + 1);
    }
    return MatchOf(byPath.isEmpty() ? byName : byPath);
}
