#include "seem/authoring/FindingTexts.h"

#include "core/CodePage.h"
#include "core/Conversions.h"
#include "core/OffsetText.h"
#include "lang/Wording.h"

namespace {

QString Bits(qint64 value)
{
    return ValueToBitText(qint32(value));
}

// As a SEEM file's name writes a number: four hexadecimal digits.
QString NameNumber(qint64 value)
{
    return QStringLiteral("%1").arg(quint16(value), 4, 16, QLatin1Char('0')).toUpper();
}

QString Number(qint64 value)
{
    return QString::number(value);
}

bool IsNumberType(qint64 type)
{
    return type == qint64(SettingType::Int8);
}

QString CodePageName(qint64 number)
{
    return CodePage::IsSupported(int(number)) ? CodePage::DisplayName(int(number)) : Number(number);
}

// "its name", "the author": the field a text finding is about.
QString FieldWords(Wording &words, RecordField field)
{
    switch (field) {
    case RecordField::Name:
        return words.text(QStringLiteral("bvlEditSetting.sFieldName_V"));
    case RecordField::Group:
        return words.text(QStringLiteral("bvlEditSetting.sFieldGroup_V"));
    case RecordField::Description:
        return words.text(QStringLiteral("bvlEditSetting.sFieldDescription_V"));
    case RecordField::ValueNames:
        return words.text(QStringLiteral("bvlEditSetting.sFieldValueNames_V"));
    case RecordField::Values:
        return words.text(QStringLiteral("bvlEditSetting.sFieldValues_V"));
    case RecordField::Author:
        return words.text(QStringLiteral("bvlEditSetting.sFieldAuthor_V"));
    case RecordField::Phones:
        return words.text(QStringLiteral("bvlEditSetting.sFieldPhones_V"));
    default:
        return words.text(QStringLiteral("bvlEditSetting.sFieldText_V"));
    }
}

}   // namespace

QString FindingMessage(Wording &words, const FitFinding &f)
{
    // The numbers the rule gives, or 0 where a finding came without them.
    const auto n = [&f](int k) { return k < f.numbers.size() ? f.numbers.at(k) : qint64(0); };
    const auto t = [&words](const char *key) {
        return words.text(QStringLiteral("bvlEditSetting.") + QLatin1String(key));
    };
    switch (f.rule) {
    case FitRule::WrongMagic:
        return t("sFindWrongMagic_V").arg(f.texts.value(0));
    case FitRule::WrongVersion:
        return t("sFindWrongVersion_V").arg(n(0));
    case FitRule::GroupPathTooLong:
        return t("sFindGroupPathTooLong_V").arg(Number(n(0)), Number(n(1)));
    case FitRule::UnknownType:
        return t("sFindUnknownType_V").arg(n(0));
    case FitRule::NoCheckedValue:
        return t("sFindNoCheckedValue_V");
    case FitRule::FewerValuesThanNames:
        return t("sFindFewerValuesThanNames_V").arg(Number(n(0)), Number(n(1)));
    case FitRule::ValueNotNumber:
        return t("sFindValueNotNumber_V").arg(Number(n(0)), f.texts.value(0));
    case FitRule::NegativeOffset:
        return t("sFindNegativeOffset_V").arg(n(0));
    case FitRule::NoTerminatorRoom:
        return t("sFindNoTerminatorRoom_V").arg(n(0));
    case FitRule::OddUtf16Length:
        return t("sFindOddUtf16Length_V").arg(n(0));
    case FitRule::MaskUnused:
        return t(IsNumberType(n(1)) ? "sFindMaskUnusedNumber_V" : "sFindMaskUnusedText_V").arg(Bits(n(0)));
    case FitRule::NamesUnused:
        return t(IsNumberType(n(0)) ? "sFindNamesUnusedNumber_V" : "sFindNamesUnusedText_V");
    case FitRule::MaskEmpty:
        return t("sFindMaskEmpty_V");
    case FitRule::NoUncheckedValue:
        return t("sFindNoUncheckedValue_V");
    case FitRule::CheckboxValuesEqual:
        return t("sFindCheckboxValuesEqual_V").arg(Bits(n(0)));
    case FitRule::MoreValuesThanNames:
        return t("sFindMoreValuesThanNames_V").arg(Number(n(0)), Number(n(1)));
    case FitRule::ValuesEqual:
        return t("sFindValuesEqual_V").arg(Number(n(0)), Number(n(1)), Bits(n(2)));
    case FitRule::ValueNotByte:
        return t("sFindValueNotByte_V").arg(Number(n(0)), Number(n(1)));
    case FitRule::ValueOutsideMask:
        return t("sFindValueOutsideMask_V").arg(Number(n(0)), Bits(n(1)), Bits(n(2)));
    case FitRule::SharedBits:
        return t("sFindSharedBits_V").arg(Bits(n(0)), OffsetText(n(1)));
    case FitRule::SharedBytes:
        return t("sFindSharedBytes_V").arg(OffsetRangeText(n(0), n(1)));
    case FitRule::SameName:
        return t("sFindSameName_V");
    case FitRule::OutsideImage:
        return t("sFindOutsideImage_V").arg(OffsetRangeText(n(0), n(1)), Number(n(2)));
    case FitRule::MatchesNeitherValue:
        return t("sFindMatchesNeitherValue_V").arg(Bits(n(0)));
    case FitRule::MatchesNoEntry:
        return t("sFindMatchesNoEntry_V").arg(Bits(n(0)));
    case FitRule::NoTerminator:
        return t("sFindNoTerminator_V").arg(n(0));
    case FitRule::OtherRecord:
        return t("sFindOtherRecord_V").arg(NameNumber(n(0)), NameNumber(n(1)), NameNumber(n(2)), NameNumber(n(3)));
    case FitRule::NameEmpty:
        return t("sFindNameEmpty_V");
    case FitRule::GroupEmpty:
        return t("sFindGroupEmpty_V");
    case FitRule::NoStates:
        return t("sFindNoStates_V");
    case FitRule::CheckboxExtraValues:
        return t("sFindCheckboxExtraValues_V").arg(n(0));
    case FitRule::TextNotInCodePage:
        return t("sFindTextNotInCodePage_V")
            .arg(FieldWords(words, f.field), f.texts.value(0),
                 QStringLiteral("%1").arg(n(0), 4, 16, QLatin1Char('0')).toUpper(), CodePageName(n(1)));
    case FitRule::TextTooLong:
        return t("sFindTextTooLong_V").arg(FieldWords(words, f.field), Number(n(0)), Number(n(1)));
    }
    return QString();
}

QString FindingText(Wording &words, const SettingList &settings, const FitFinding &finding)
{
    const QString what = FindingMessage(words, finding);
    if (finding.settings.isEmpty())
        return what;
    QString names;
    for (int index : finding.settings)
        names = names.isEmpty() ? FindingSettingLabel(settings, index)
                                : words.text(QStringLiteral("bvlEditSetting.sFindAnd_V"))
                                      .arg(names, FindingSettingLabel(settings, index));
    if (finding.unnamed > 0)
        names = words.text(QStringLiteral("bvlEditSetting.sFindMore_V")).arg(names, Number(finding.unnamed));
    return words.text(QStringLiteral("bvlEditSetting.sFindSettings_V")).arg(names, what);
}

QString FindingLine(Wording &words, const SettingList &settings, const FitFinding &finding)
{
    return words
        .text(finding.severity == FitSeverity::Error ? QStringLiteral("bvlEditSetting.sFindError_V")
                                                     : QStringLiteral("bvlEditSetting.sFindWarning_V"))
        .arg(FindingText(words, settings, finding));
}

QString CheckCountsLine(Wording &words, int errors, int warnings)
{
    return words.text(QStringLiteral("bvlEditSetting.sCheckSummary_V"))
        .arg(words.plural(QStringLiteral("bvlEditSetting.sCheckErrors_V"), errors),
             words.plural(QStringLiteral("bvlEditSetting.sCheckWarnings_V"), warnings));
}

SettingFileVerdict VerdictOf(Wording &words, const SettingList &settings, const QVector<FitFinding> &findings)
{
    SettingFileVerdict verdict;
    QStringList warnings;
    for (const FitFinding &f : findings) {
        if (f.severity == FitSeverity::Error) {
            ++verdict.errors;
            verdict.lines << FindingLine(words, settings, f);
        } else {
            ++verdict.warnings;
            warnings << FindingLine(words, settings, f);
        }
    }
    verdict.lines += warnings;
    return verdict;
}
