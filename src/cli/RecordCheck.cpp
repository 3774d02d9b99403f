#include "cli/RecordCheck.h"

#include "cli/ExitStatus.h"
#include "cli/RunCli.h"
#include "seem/authoring/RecordMatch.h"

#include <QFileInfo>

namespace {

const QString AnyRecord = QStringLiteral("any-record");

// "the setting file S describes SEEM 0033_0001, but the name of I says SEEM 0032_0001",
// or empty when they agree.
QString OtherRecordText(const LoadedSettingFile &settingFile, const QString &imagePath)
{
    SeemNameNumbers named;
    if (!NameSaysOtherRecord(QFileInfo(imagePath).fileName(), settingFile.header, named))
        return QString();
    return QStringLiteral("%1: the setting file %2 describes SEEM %3, but the name of the SEEM file says SEEM %4")
        .arg(imagePath, settingFile.path, RecordNumbersText(settingFile.header.SEEMNr, settingFile.header.SEEMRec),
             RecordNumbersText(named.seemNr, named.seemRec));
}

}   // namespace

QCommandLineOption AnyRecordOption()
{
    return QCommandLineOption(AnyRecord, QStringLiteral("Write even with a setting file for another SEEM or record "
                                                        "than the image's name carries."));
}

void RequireImageRecord(const LoadedSettingFile &settingFile, const QString &imagePath,
                        const QCommandLineParser &parser)
{
    const QString other = OtherRecordText(settingFile, imagePath);
    if (!other.isEmpty() && !parser.isSet(AnyRecord))
        throw CliError(other
                       + QStringLiteral("; a setting file for another record writes bytes where they mean "
                                        "something else. Nothing was written; give --any-record to write anyway"));
}

void WarnOtherRecord(const LoadedSettingFile &settingFile, const QStringList &imagePaths, QTextStream &err)
{
    for (const QString &imagePath : imagePaths) {
        const QString other = OtherRecordText(settingFile, imagePath);
        if (!other.isEmpty())
            err << CliProgramName << ": warning: " << other << "; its values may mean something else\n";
    }
}
