#include "seem/authoring/SettingFileCheck.h"

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
    QString line = finding.severity == FitSeverity::Error ? QStringLiteral("error: ") : QStringLiteral("warning: ");
    if (!finding.settings.isEmpty()) {
        QStringList labels;
        for (int index : finding.settings)
            labels << FindingSettingLabel(settings, index);
        if (finding.unnamed > 0)
            labels << QStringLiteral("%1 more").arg(finding.unnamed);
        line += labels.join(QStringLiteral(" and ")) + QStringLiteral(": ");
    }
    return line + finding.message;
}

namespace {
// As a SEEM file's name writes it: four hexadecimal digits.
QString NameNumber(qint16 value)
{
    return QStringLiteral("%1").arg(quint16(value), 4, 16, QLatin1Char('0')).toUpper();
}
}   // namespace

std::optional<FitFinding> RecordNumberFinding(const SettingFileHeader &header, const QString &imagePath)
{
    SeemNameNumbers named;
    if (!ParseSeemFileName(QFileInfo(imagePath).fileName(), named))
        return std::nullopt;
    if (named.seemNr == header.SEEMNr && named.seemRec == header.SEEMRec)
        return std::nullopt;
    return FitFinding{FitSeverity::Warning,
                      {},
                      QStringLiteral("the setting file is made for SEEM %1 record %2, the image is SEEM %3 record %4")
                          .arg(NameNumber(header.SEEMNr), NameNumber(header.SEEMRec), NameNumber(named.seemNr),
                               NameNumber(named.seemRec)),
                      FitRule::OtherRecord,
                      {quint16(header.SEEMNr), quint16(header.SEEMRec), quint16(named.seemNr), quint16(named.seemRec)},
                      {}};
}

SettingFileVerdict VerdictOf(const SettingList &settings, const QVector<FitFinding> &findings)
{
    SettingFileVerdict verdict;
    QStringList warnings;
    for (const FitFinding &f : findings) {
        if (f.severity == FitSeverity::Error) {
            ++verdict.errors;
            verdict.lines << FindingLine(settings, f);
        } else {
            ++verdict.warnings;
            warnings << FindingLine(settings, f);
        }
    }
    verdict.lines += warnings;
    return verdict;
}

SettingFileVerdict CheckSettingFileVerdict(const SettingFileHeader &header, const SettingList &settings)
{
    return VerdictOf(settings, CheckSettingFile(header, settings));
}
