#include "cli/AuthoringInputs.h"

#include "cli/Command.h"
#include "cli/Counted.h"
#include "cli/ExitStatus.h"
#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "lang/Wording.h"
#include "seem/authoring/AutoSelect.h"
#include "seem/authoring/RecordMatch.h"
#include "seem/files/ImageBytes.h"
#include "seem/files/SeemFileName.h"
#include "seem/survey/ImageSurvey.h"
#include "seem/survey/SurveyLeftOut.h"

#include <QFileInfo>

QByteArray ReadImageForCommand(const QString &path)
{
    try {
        return ReadWholeImage(path);
    } catch (const BvlError &e) {
        if (e.number() == ErrNo::OutOfMemory)
            throw CliError(QStringLiteral("%1: is larger than %2 bytes, more than any SEEM image")
                               .arg(path, QString::number(MaxWholeImageBytes)));
        throw CliError(QStringLiteral("%1: %2").arg(path, FileErrorText(e)));
    }
}

void CheckSameRecordSize(const QString &imagePath, const QByteArray &image, const QString &otherPath,
                         const QByteArray &other)
{
    if (image.size() != other.size())
        throw CliError(QStringLiteral("%1 holds %2 and %3 %4: only images of one record compare")
                           .arg(imagePath, Counted(image.size(), QStringLiteral("byte")), otherPath,
                                QString::number(other.size())));
}

LoadedSettingFile SettingFileOrEmpty(const QString &imagePath, const QCommandLineParser &parser,
                                     const CommandContext &context)
{
    if (parser.isSet(QStringLiteral("sec")))
        return LoadSettingFile(parser.value(QStringLiteral("sec")));
    const QString fileName = QFileInfo(imagePath).fileName();
    const QString chosen = AutoSelectSettingFile(SettingFolders(parser, context), fileName);
    if (!chosen.isEmpty())
        return LoadSettingFile(chosen);

    LoadedSettingFile empty;
    empty.header.Magic = SettingFileFormat::Magic;
    empty.header.FileVersion = SettingFileFormat::Version;
    empty.header.ProgramVersion = VersionString();
    SeemNameNumbers numbers;
    if (ParseSeemFileName(fileName, numbers)) {
        empty.header.SEEMNr = numbers.seemNr;
        empty.header.SEEMRec = numbers.seemRec;
    }
    context.err << imagePath << ": no setting file describes it; starting from an empty one for SEEM "
                << RecordNumbersText(empty.header.SEEMNr, empty.header.SEEMRec) << '\n';
    return empty;
}

QString SurveyLeftOutReason(const ImageSurvey &survey, const SurveyImage &image)
{
    return SurveyLeftOutText(EnglishWording(), survey, image, FileErrorText(BvlError(image.errorNumber, image.detail)));
}
