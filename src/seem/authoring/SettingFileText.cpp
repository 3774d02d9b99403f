#include "seem/authoring/SettingFileText.h"

#include "core/Conversions.h"
#include "core/OffsetText.h"
#include "seem/authoring/RecordRules.h"
#include "seem/document/SettingLookup.h"
#include "seem/values/SettingValueText.h"

namespace {

void Field(QString &out, const char *name, const QString &value)
{
    out += QStringLiteral("  ") + QLatin1String(name) + QStringLiteral(": ") + value + QLatin1Char('\n');
}

// "a | b | c": the parts of a "§"-joined list, each on the line.
QString ListText(const QString &joined)
{
    QStringList parts;
    for (const QString &part : SplitValues(joined))
        parts << OneLineText(part);
    return parts.join(QStringLiteral(" | "));
}

}   // namespace

QString OneLineText(const QString &text)
{
    QString line;
    line.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\n'))
            line += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            line += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            line += QStringLiteral("\\t");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            line += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            line += c;
    }
    return line;
}

QString SettingFieldText(const SettingStruct &s, RecordField field)
{
    switch (field) {
    case RecordField::Name:
        return OneLineText(s.Name);
    case RecordField::Group:
        return OneLineText(s.Group);
    case RecordField::Description:
        return OneLineText(s.Description);
    case RecordField::Type:
        return QStringLiteral("%1 (%2)").arg(SettingTypeName(s.Type), QString::number(s.Type));
    case RecordField::Offset:
        return OffsetText(s.Offset);
    case RecordField::StringLength:
        return QString::number(s.MaxStringLength);
    case RecordField::BitMask:
        return ValueToBitText(s.BitMask);
    case RecordField::Values:
        return ListText(s.Values);
    case RecordField::ValueNames:
        return ListText(s.ValueNames);
    case RecordField::None:
    case RecordField::Author:
    case RecordField::Phones:
        break;
    }
    return QString();
}

QString SettingFileText(const SettingFileHeader &header, const SettingList &settings)
{
    QString out;
    out += QStringLiteral("header\n");
    Field(out, "Magic", OneLineText(header.Magic));
    Field(out, "FileVersion", QString::number(header.FileVersion));
    Field(out, "ProgramVersion", OneLineText(header.ProgramVersion));
    Field(out, "SEEMNr", HexText16(header.SEEMNr));
    Field(out, "SEEMRec", HexText16(header.SEEMRec));
    Field(out, "Phones", OneLineText(header.Phones));
    Field(out, "Author", OneLineText(header.Author));
    Field(out, "SettingCount", QString::number(header.SettingCount));
    for (int k = 1; k <= settings.size(); ++k) {
        const SettingStruct &s = settings.at(k - 1);
        out += QStringLiteral("\nsetting ") + OneLineText(SettingPathOf(s)) + QLatin1Char('\n');
        for (RecordField field :
             {RecordField::Name, RecordField::Group, RecordField::Type, RecordField::Offset, RecordField::BitMask,
              RecordField::StringLength, RecordField::ValueNames, RecordField::Values, RecordField::Description})
            out += QStringLiteral("  ") + RecordFieldName(field) + QStringLiteral(": ") + SettingFieldText(s, field)
                   + QLatin1Char('\n');
        Field(out, "UIIndex", QString::number(s.UIIndex));
    }
    return out;
}
