#include "core/SettingTypes.h"

bool SettingStruct::operator==(const SettingStruct &o) const
{
    return Name == o.Name && Description == o.Description && Type == o.Type && UIIndex == o.UIIndex && Group == o.Group
           && Offset == o.Offset && MaxStringLength == o.MaxStringLength && BitMask == o.BitMask
           && ValueNames == o.ValueNames && Values == o.Values;
}

bool SettingFileHeader::operator==(const SettingFileHeader &o) const
{
    return Magic == o.Magic && FileVersion == o.FileVersion && ProgramVersion == o.ProgramVersion && SEEMNr == o.SEEMNr
           && SEEMRec == o.SEEMRec && Phones == o.Phones && SettingCount == o.SettingCount && Author == o.Author;
}

QStringList SplitValues(const QString &joined)
{
    // Empty pieces between separators are kept: they are elements, only an empty text has none.
    if (joined.isEmpty())
        return {};
    return joined.split(ValueSeparator);
}

ValueViews SplitValueViews(const QString &joined)
{
    ValueViews views;
    if (joined.isEmpty())
        return views;
    const QChar *start = joined.constBegin();
    for (const QChar *at = start; at != joined.constEnd(); ++at) {
        if (*at == ValueSeparator) {
            views.append(QStringView(start, at));
            start = at + 1;
        }
    }
    views.append(QStringView(start, joined.constEnd()));
    return views;
}

QString JoinValues(const QStringList &parts)
{
    return parts.join(ValueSeparator);
}
