#include "ui/editor/SettingPreview.h"

#include "core/Conversions.h"
#include "core/OffsetText.h"
#include "seem/authoring/BitCoverage.h"
#include "seem/authoring/DifferenceProposals.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/values/OwnedBytes.h"
#include "seem/values/SettingValueText.h"
#include "ui/AppContext.h"

PreviewLine PreviewOf(AppContext &ctx, const QString &imageLabel, const QByteArray &image, const SettingStruct &setting)
{
    const OwnedSpan span = OwnedSpanOf(setting);
    if (span.size == 0 || !SpanInsideImage(span, image.size()))
        return {ctx.T(QStringLiteral("bvlEditSettingDo.sPreviewPastEnd_V")).arg(imageLabel), true};

    MemoryByteStore store(image);
    const ValueText value = DecodeValueText(store, setting);
    if (!value.decoded)
        return {ctx.T(QStringLiteral("bvlEditSettingDo.sPreviewNoValue_V")).arg(imageLabel, value.reason), true};

    QString words = value.text;
    switch (SettingType(setting.Type)) {
    case SettingType::Checkbox:
        words = ctx.T(value.text == CheckedText ? QStringLiteral("bvlEditSettingDo.sPreviewOn_V")
                                                : QStringLiteral("bvlEditSettingDo.sPreviewOff_V"));
        break;
    case SettingType::AnsiString:
    case SettingType::UnicodeString:
        words = QLatin1Char('"') + value.text + QLatin1Char('"');
        break;
    default:
        break;
    }
    if (span.size == 1)
        return {ctx.T(QStringLiteral("bvlEditSettingDo.sPreviewByte_V"))
                    .arg(imageLabel, words, OffsetText(span.offset), ValueToBitText(quint8(image.at(span.offset)))),
                false};
    return {ctx.T(QStringLiteral("bvlEditSettingDo.sPreviewField_V"))
                .arg(imageLabel, words, OffsetText(span.offset), OffsetText(span.end() - 1)),
            false};
}

QString OverlapLine(AppContext &ctx, const SettingList &settings, const SettingStruct &setting, int editedRecord)
{
    const QVector<int> sharing = SettingsSharingBits(settings, setting, editedRecord);
    if (sharing.isEmpty())
        return QString();
    QStringList names;
    for (int k : sharing)
        names << settings[k - 1].Name;
    return ctx.T(QStringLiteral("bvlEditSettingDo.sPreviewOverlap_V")).arg(names.join(QStringLiteral(", ")));
}
