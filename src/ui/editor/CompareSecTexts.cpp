#include "ui/editor/CompareSecTexts.h"

#include "core/Conversions.h"
#include "seem/authoring/SettingFileText.h"
#include "seem/document/SettingLookup.h"
#include "ui/AppContext.h"

namespace {

using HeaderField = SettingFileDocument::HeaderField;

// "Sound\A, Sound\B and 3 more": at most maxNames of names.
QString NameList(AppContext &ctx, const QStringList &names, int maxNames)
{
    const QString shown = names.mid(0, maxNames).join(QStringLiteral(", "));
    if (names.size() <= maxNames)
        return shown;
    return ctx.T(QStringLiteral("bvlCompareSec.sMore_V")).arg(shown, QString::number(names.size() - maxNames));
}

QString CountLine(AppContext &ctx, const char *key, const QStringList &names, int maxNames)
{
    return ctx.T(QStringLiteral("bvlCompareSec.sSummaryLine_V"))
        .arg(ctx.lang.GetPluralString(QString::fromLatin1(key), names.size()), NameList(ctx, names, maxNames));
}

}   // namespace

QString RecordFieldWord(AppContext &ctx, RecordField field)
{
    switch (field) {
    case RecordField::Name:
        return ctx.T(QStringLiteral("bvlCompareSec.sName_V"));
    case RecordField::Group:
        return ctx.T(QStringLiteral("bvlCompareSec.sGroup_V"));
    case RecordField::Description:
        return ctx.T(QStringLiteral("bvlCompareSec.sDescription_V"));
    case RecordField::Type:
        return ctx.T(QStringLiteral("bvlCompareSec.sType_V"));
    case RecordField::Offset:
        return ctx.T(QStringLiteral("bvlCompareSec.sOffset_V"));
    case RecordField::StringLength:
        return ctx.T(QStringLiteral("bvlCompareSec.sLength_V"));
    case RecordField::BitMask:
        return ctx.T(QStringLiteral("bvlCompareSec.sBitMask_V"));
    case RecordField::Values:
        return ctx.T(QStringLiteral("bvlCompareSec.sValues_V"));
    case RecordField::ValueNames:
        return ctx.T(QStringLiteral("bvlCompareSec.sValueNames_V"));
    case RecordField::Author:
        return HeaderFieldWord(ctx, HeaderField::Author);
    case RecordField::Phones:
        return HeaderFieldWord(ctx, HeaderField::Phones);
    case RecordField::None:
        break;
    }
    return QString();
}

QString HeaderFieldWord(AppContext &ctx, HeaderField field)
{
    switch (field) {
    case HeaderField::Author:
        return ctx.T(QStringLiteral("bvlCompareSec.sAuthor_V"));
    case HeaderField::Phones:
        return ctx.T(QStringLiteral("bvlCompareSec.sPhones_V"));
    case HeaderField::SeemNumber:
        return ctx.T(QStringLiteral("bvlCompareSec.sSeem_V"));
    case HeaderField::SeemRecord:
        break;
    }
    return ctx.T(QStringLiteral("bvlCompareSec.sRecord_V"));
}

QString RecordFieldValue(AppContext &ctx, const SettingStruct &record, RecordField field)
{
    // The type as the setting dialog's buttons name it; a code no button has, as a number.
    if (field != RecordField::Type)
        return SettingFieldText(record, field);
    if (record.Type <= quint8(SettingType::UnicodeString))
        return ctx.Title(QStringLiteral("bvlEditSettingDo.opType(%1)").arg(record.Type));
    return QString::number(record.Type);
}

QString HeaderFieldValue(const SettingFileHeader &header, HeaderField field)
{
    switch (field) {
    case HeaderField::Author:
        return OneLineText(header.Author);
    case HeaderField::Phones:
        return OneLineText(header.Phones);
    case HeaderField::SeemNumber:
        return HexText16(header.SEEMNr);
    case HeaderField::SeemRecord:
        break;
    }
    return HexText16(header.SEEMRec);
}

QString ComparisonSummary(AppContext &ctx, const SettingFileComparison &c, const SettingList &before,
                          const SettingList &after, int maxNames)
{
    // Only as many names as are shown are made: a file of thousands costs no more.
    const auto names = [maxNames](const QVector<int> &records, const SettingList &settings, QStringList &out) {
        for (int k : records) {
            if (out.size() >= maxNames)
                out << QString();   // counted, never shown
            else
                out << SettingPathOf(settings.at(k - 1));
        }
    };
    QStringList added, removed, renamed, changed;
    names(c.added, after, added);
    names(c.removed, before, removed);
    for (const SettingChange &change : c.changed) {
        QStringList &list = change.renamed ? renamed : changed;
        if (list.size() >= maxNames)
            list << QString();
        else if (change.renamed)
            list << ctx.T(QStringLiteral("bvlCompareSec.sRenamedPair_V"))
                        .arg(SettingPathOf(before.at(change.before - 1)), SettingPathOf(after.at(change.after - 1)));
        else
            list << SettingPathOf(after.at(change.after - 1));
    }
    QStringList lines;
    if (!added.isEmpty())
        lines << CountLine(ctx, "bvlCompareSec.sAdded_V", added, maxNames);
    if (!removed.isEmpty())
        lines << CountLine(ctx, "bvlCompareSec.sRemoved_V", removed, maxNames);
    if (!renamed.isEmpty())
        lines << CountLine(ctx, "bvlCompareSec.sRenamedCount_V", renamed, maxNames);
    if (!changed.isEmpty())
        lines << CountLine(ctx, "bvlCompareSec.sChangedCount_V", changed, maxNames);
    if (!c.header.isEmpty()) {
        QStringList fields;
        for (HeaderField field : c.header)
            fields << HeaderFieldWord(ctx, field);
        lines << ctx.T(QStringLiteral("bvlCompareSec.sSummaryLine_V"))
                     .arg(ctx.T(QStringLiteral("bvlCompareSec.sHeader_V")), fields.join(QStringLiteral(", ")));
    }
    return lines.join(QLatin1Char('\n'));
}
