#include "ui/CheckFindingTexts.h"

#include "core/Conversions.h"
#include "core/OffsetText.h"
#include "ui/AppContext.h"

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

}   // namespace

QString LocalFindingMessage(AppContext &ctx, const FitFinding &f)
{
    // The numbers the rule gives, or 0 where a finding came without them.
    const auto n = [&f](int k) { return k < f.numbers.size() ? f.numbers.at(k) : qint64(0); };
    const auto t = [&ctx](const QString &key) { return ctx.T(key); };
    switch (f.rule) {
    case FitRule::WrongMagic:
        return t(QStringLiteral("bvlEditSetting.sFindWrongMagic_V")).arg(f.texts.value(0));
    case FitRule::WrongVersion:
        return t(QStringLiteral("bvlEditSetting.sFindWrongVersion_V")).arg(n(0));
    case FitRule::GroupPathTooLong:
        return t(QStringLiteral("bvlEditSetting.sFindGroupPathTooLong_V")).arg(n(0)).arg(n(1));
    case FitRule::UnknownType:
        return t(QStringLiteral("bvlEditSetting.sFindUnknownType_V")).arg(n(0));
    case FitRule::NoCheckedValue:
        return t(QStringLiteral("bvlEditSetting.sFindNoCheckedValue_V"));
    case FitRule::FewerValuesThanNames:
        return t(QStringLiteral("bvlEditSetting.sFindFewerValuesThanNames_V")).arg(n(0)).arg(n(1));
    case FitRule::ValueNotNumber:
        return t(QStringLiteral("bvlEditSetting.sFindValueNotNumber_V")).arg(Number(n(0)), f.texts.value(0));
    case FitRule::NegativeOffset:
        return t(QStringLiteral("bvlEditSetting.sFindNegativeOffset_V")).arg(n(0));
    case FitRule::NoTerminatorRoom:
        return t(QStringLiteral("bvlEditSetting.sFindNoTerminatorRoom_V")).arg(n(0));
    case FitRule::OddUtf16Length:
        return t(QStringLiteral("bvlEditSetting.sFindOddUtf16Length_V")).arg(n(0));
    case FitRule::MaskUnused:
        return (IsNumberType(n(1)) ? t(QStringLiteral("bvlEditSetting.sFindMaskUnusedNumber_V"))
                                   : t(QStringLiteral("bvlEditSetting.sFindMaskUnusedText_V")))
            .arg(Bits(n(0)));
    case FitRule::NamesUnused:
        return IsNumberType(n(0)) ? t(QStringLiteral("bvlEditSetting.sFindNamesUnusedNumber_V"))
                                  : t(QStringLiteral("bvlEditSetting.sFindNamesUnusedText_V"));
    case FitRule::MaskEmpty:
        return t(QStringLiteral("bvlEditSetting.sFindMaskEmpty_V"));
    case FitRule::NoUncheckedValue:
        return t(QStringLiteral("bvlEditSetting.sFindNoUncheckedValue_V"));
    case FitRule::CheckboxValuesEqual:
        return t(QStringLiteral("bvlEditSetting.sFindCheckboxValuesEqual_V")).arg(Bits(n(0)));
    case FitRule::MoreValuesThanNames:
        return t(QStringLiteral("bvlEditSetting.sFindMoreValuesThanNames_V")).arg(n(0)).arg(n(1));
    case FitRule::ValuesEqual:
        return t(QStringLiteral("bvlEditSetting.sFindValuesEqual_V")).arg(Number(n(0)), Number(n(1)), Bits(n(2)));
    case FitRule::ValueNotByte:
        return t(QStringLiteral("bvlEditSetting.sFindValueNotByte_V")).arg(n(0)).arg(n(1));
    case FitRule::ValueOutsideMask:
        return t(QStringLiteral("bvlEditSetting.sFindValueOutsideMask_V")).arg(Number(n(0)), Bits(n(1)), Bits(n(2)));
    case FitRule::SharedBits:
        return t(QStringLiteral("bvlEditSetting.sFindSharedBits_V")).arg(Bits(n(0)), OffsetText(n(1)));
    case FitRule::SharedBytes:
        return t(QStringLiteral("bvlEditSetting.sFindSharedBytes_V")).arg(OffsetRangeText(n(0), n(1)));
    case FitRule::SameName:
        return t(QStringLiteral("bvlEditSetting.sFindSameName_V"));
    case FitRule::OutsideImage:
        return t(QStringLiteral("bvlEditSetting.sFindOutsideImage_V")).arg(OffsetRangeText(n(0), n(1)), Number(n(2)));
    case FitRule::MatchesNeitherValue:
        return t(QStringLiteral("bvlEditSetting.sFindMatchesNeitherValue_V")).arg(Bits(n(0)));
    case FitRule::MatchesNoEntry:
        return t(QStringLiteral("bvlEditSetting.sFindMatchesNoEntry_V")).arg(Bits(n(0)));
    case FitRule::NoTerminator:
        return t(QStringLiteral("bvlEditSetting.sFindNoTerminator_V")).arg(n(0));
    case FitRule::OtherRecord:
        return t(QStringLiteral("bvlEditSetting.sFindOtherRecord_V"))
            .arg(NameNumber(n(0)), NameNumber(n(1)), NameNumber(n(2)), NameNumber(n(3)));
    }
    return f.message;
}

QString LocalFindingLine(AppContext &ctx, const SettingList &settings, const FitFinding &finding)
{
    QString what = LocalFindingMessage(ctx, finding);
    if (!finding.settings.isEmpty()) {
        QString names;
        for (int index : finding.settings)
            names = names.isEmpty() ? FindingSettingLabel(settings, index)
                                    : ctx.T(QStringLiteral("bvlEditSetting.sFindAnd_V"))
                                          .arg(names, FindingSettingLabel(settings, index));
        if (finding.unnamed > 0)
            names = ctx.T(QStringLiteral("bvlEditSetting.sFindMore_V")).arg(names, QString::number(finding.unnamed));
        what = ctx.T(QStringLiteral("bvlEditSetting.sFindSettings_V")).arg(names, what);
    }
    return ctx
        .T(finding.severity == FitSeverity::Error ? QStringLiteral("bvlEditSetting.sFindError_V")
                                                  : QStringLiteral("bvlEditSetting.sFindWarning_V"))
        .arg(what);
}

QString CheckCountsLine(AppContext &ctx, int errors, int warnings)
{
    return ctx.T(QStringLiteral("bvlEditSetting.sCheckSummary_V"))
        .arg(ctx.lang.GetPluralString(QStringLiteral("bvlEditSetting.sCheckErrors_V"), errors),
             ctx.lang.GetPluralString(QStringLiteral("bvlEditSetting.sCheckWarnings_V"), warnings));
}

SettingFileVerdict LocalSettingFileVerdict(AppContext &ctx, const SettingFileHeader &header,
                                           const SettingList &settings)
{
    const QVector<FitFinding> findings = CheckSettingFile(header, settings);
    SettingFileVerdict verdict;
    QStringList warnings;
    for (const FitFinding &f : findings) {
        if (f.severity == FitSeverity::Error) {
            ++verdict.errors;
            verdict.lines << LocalFindingLine(ctx, settings, f);
        } else {
            ++verdict.warnings;
            warnings << LocalFindingLine(ctx, settings, f);
        }
    }
    verdict.lines += warnings;
    return verdict;
}
