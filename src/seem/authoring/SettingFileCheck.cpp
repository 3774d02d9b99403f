#include "seem/authoring/SettingFileCheck.h"

#include "lang/Wording.h"
#include "seem/authoring/FindingTexts.h"
#include "seem/document/SettingLookup.h"
#include "seem/files/SeemFileName.h"

#include <QFileInfo>

QString FindingSettingLabel(const SettingList &settings, int index)
{
    // One arg call: a "%1" in the name must stay as written.
    return QStringLiteral("%1 (#%2)").arg(SettingPathOf(settings.at(index - 1)), QString::number(index));
}

QString FindingLine(const SettingList &settings, const FitFinding &finding)
{
    return (finding.severity == FitSeverity::Error ? QStringLiteral("error: ") : QStringLiteral("warning: "))
           + FindingText(EnglishWording(), settings, finding);
}

std::optional<FitFinding> RecordNumberFinding(const SettingFileHeader &header, const QString &imagePath)
{
    SeemNameNumbers named;
    if (!ParseSeemFileName(QFileInfo(imagePath).fileName(), named))
        return std::nullopt;
    if (named.seemNr == header.SEEMNr && named.seemRec == header.SEEMRec)
        return std::nullopt;
    return FitWarning({}, FitRule::OtherRecord,
                      {quint16(header.SEEMNr), quint16(header.SEEMRec), quint16(named.seemNr), quint16(named.seemRec)});
}
