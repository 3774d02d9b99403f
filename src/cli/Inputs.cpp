#include "cli/Inputs.h"

#include "cli/Command.h"
#include "cli/ExitStatus.h"
#include "cli/RunCli.h"
#include "core/Conversions.h"
#include "core/FileNames.h"
#include "core/OutputTarget.h"
#include "core/RegularFile.h"
#include "core/SearchFolders.h"
#include "core/SettingFile.h"
#include "core/SettingFileJson.h"
#include "lang/Wording.h"
#include "seem/authoring/AutoSelect.h"
#include "seem/authoring/RecordMatch.h"
#include "seem/authoring/SettingFileCheck.h"
#include "seem/document/SettingLookup.h"
#include "seem/files/SaveNoticeTexts.h"
#include "seem/files/SeemFile.h"
#include "seem/files/SeemFileName.h"

#include <QFileInfo>
#include <QJsonDocument>

#include <sys/stat.h>

#include <cerrno>

QCommandLineOption SecOption()
{
    return QCommandLineOption(QStringLiteral("sec"),
                              QStringLiteral("The setting file to use, instead of the automatic choice."),
                              QStringLiteral("FILE"));
}

QCommandLineOption SecDirOption()
{
    return QCommandLineOption(
        QStringLiteral("sec-dir"),
        QStringLiteral("Choose the setting file from DIR instead of the per-user and program folders."),
        QStringLiteral("DIR"));
}

QCommandLineOption FormatOption()
{
    return QCommandLineOption(QStringLiteral("format"), QStringLiteral("Output as text (the default) or json."),
                              QStringLiteral("text|json"), QStringLiteral("text"));
}

QCommandLineOption DryRunOption()
{
    return QCommandLineOption(QStringLiteral("dry-run"), QStringLiteral("Print each change, write nothing."));
}

OutputFormat FormatOf(const QCommandLineParser &parser)
{
    const QString format = parser.value(QStringLiteral("format"));
    if (format == QLatin1String("text"))
        return OutputFormat::Text;
    if (format == QLatin1String("json"))
        return OutputFormat::Json;
    throw CliError(QStringLiteral("--format takes text or json, not '%1'").arg(format), ExitBadUsage);
}

QString FileErrorText(const BvlError &e)
{
    switch (e.number()) {
    case ErrNo::FileNotFound:
        return QStringLiteral("does not exist");
    case ErrNo::NotRegularFile:
        return QStringLiteral("is not a regular file");
    case ErrNo::PathFileAccess:
        return QStringLiteral("cannot be opened, read or written");
    case ErrNo::InputPastEnd:
        return QStringLiteral("ends before its last record");
    case ErrNo::OutOfMemory:
        return QStringLiteral("holds a setting count that its size cannot back");
    case ErrNo::FileChanged:
        return QStringLiteral("was changed by another program; nothing was written");
    case ErrNo::FileReadOnly:
        return QStringLiteral("is read-only; nothing was written");
    case ErrNo::FileBusy:
        return QStringLiteral("is being saved by another program; try again");
    case ErrNo::FileTooLarge:
        return QStringLiteral("is larger than any SEEM image (more than 256 MB)");
    default:
        return QStringLiteral("cannot be used (error %1)").arg(e.number());
    }
}

QString ReadErrorText(const BvlError &e)
{
    // The reader names the reason itself: the kind of file, the size, the system's reason.
    const QString reason = QString::fromUtf8(e.what());
    switch (e.number()) {
    case ErrNo::FileNotFound:
    case ErrNo::NotRegularFile:
    case ErrNo::FileTooLarge:
        return reason;
    case ErrNo::PathFileAccess:
        return QStringLiteral("cannot be read (%1)").arg(reason);
    default:
        return FileErrorText(e);
    }
}

LoadedSettingFile ReadSettingFileAsIs(const QString &path)
{
    LoadedSettingFile loaded;
    loaded.path = path;
    try {
        ReadSettingFile(path, loaded.header, loaded.settings, &loaded.trailing);
    } catch (const BvlError &e) {
        // A file that does not even begin as one is no damaged setting file: say what it is,
        // as the windows do, rather than where its bytes ran out.
        const bool formatError = e.number() == ErrNo::InputPastEnd || e.number() == ErrNo::OutOfMemory;
        if (formatError && !HasSettingFileMagic(path))
            throw CliError(QStringLiteral("%1: is not a setting file").arg(path));
        // A file cut short says where, as the windows do.
        QString where;
        if (const auto *cut = dynamic_cast<const SettingFileCutError *>(&e))
            where = cut->counted() > 0 ? QStringLiteral("; it ends after record %1 of the %2 its header counts")
                                             .arg(QString::number(cut->record()), QString::number(cut->counted()))
                    : cut->record() > 0 ? QStringLiteral("; it ends inside record %1").arg(cut->record())
                                        : QStringLiteral("; it ends inside its header");
        throw CliError(QStringLiteral("%1: %2%3").arg(path, ReadErrorText(e), where));
    }
    return loaded;
}

LoadedSettingFile LoadSettingFile(const QString &path)
{
    const LoadedSettingFile loaded = ReadSettingFileAsIs(path);
    switch (CheckSettingHeader(loaded.header)) {
    case HeaderCheck::UnknownFile:
        throw CliError(QStringLiteral("%1: is not a setting file").arg(path));
    case HeaderCheck::UnsupportedVersion:
        throw CliError(
            QStringLiteral("%1: has format version %2; only %3 is read")
                .arg(path, QString::number(loaded.header.FileVersion), QString::number(SettingFileFormat::Version)));
    case HeaderCheck::Accepted:
        break;
    }
    return loaded;
}

QStringList SettingFolders(const QCommandLineParser &parser, const CommandContext &context)
{
    if (parser.isSet(QStringLiteral("sec-dir")))
        return {parser.value(QStringLiteral("sec-dir"))};
    return SearchFolders(context.userFolder, context.programFolder);
}

LoadedSettingFile SettingFileForImage(const QString &imagePath, const QCommandLineParser &parser,
                                      const CommandContext &context)
{
    if (parser.isSet(QStringLiteral("sec")))
        return LoadSettingFile(parser.value(QStringLiteral("sec")));
    const QStringList folders = SettingFolders(parser, context);
    const QString fileName = QFileInfo(imagePath).fileName();
    // A missing image is told as such, not as a name without numbers.
    struct stat info;
    if (::stat(NativeFileName(imagePath).constData(), &info) != 0 && errno == ENOENT)
        throw CliError(QStringLiteral("%1: does not exist").arg(imagePath));
    SeemNameNumbers numbers;
    if (!ParseSeemFileName(fileName, numbers))
        throw CliError(QStringLiteral("%1: the file name carries no SEEM and record number (such as 0032_0001.seem); "
                                      "name a setting file with --sec")
                           .arg(imagePath));
    const QString chosen = AutoSelectSettingFile(folders, fileName);
    if (chosen.isEmpty())
        throw CliError(QStringLiteral("%1: no setting file in %2 is written for SEEM %3 (read from the file "
                                      "name); name one with --sec")
                           .arg(imagePath, folders.join(QStringLiteral(" or ")),
                                RecordNumbersText(numbers.seemNr, numbers.seemRec)));
    return LoadSettingFile(chosen);
}

namespace {

void TellJournalNotice(const JournalNotice &notice, QTextStream &err)
{
    // A notice that leaves the file read-only is a warning, line by line.
    const QString prefix = notice.opensReadOnly() ? QStringLiteral(": warning: ") : QStringLiteral(": ");
    const QString text = JournalNoticeText(EnglishWording(), notice);
    if (text.isEmpty())
        return;
    for (const QString &line : text.split(QLatin1Char('\n')))
        err << CliProgramName << prefix << line << '\n';
}

}   // namespace

void OpenImage(SeemFile &image, const QString &path, bool forWriting, QTextStream &err)
{
    try {
        TellJournalNotice(forWriting ? image.open(path) : image.openReadOnly(path), err);
    } catch (const BvlError &e) {
        throw CliError(QStringLiteral("%1: %2").arg(path, FileErrorText(e)));
    }
    if (forWriting && image.isReadOnly())
        throw CliError(QStringLiteral("%1: is read-only; nothing was written").arg(path));
}

QByteArray ReadWholeFile(const QString &path, qint64 maxBytes)
{
    try {
        return ReadRegularFile(path, maxBytes);
    } catch (const BvlError &e) {
        throw CliError(QStringLiteral("%1: %2").arg(path, ReadErrorText(e)));
    }
}

void RequireSeparateOutput(const QString &inputPath, const QString &outputPath)
{
    if (IsSameFile(inputPath, outputPath))
        throw CliError(QStringLiteral("%1: is the input %2 itself; nothing was written").arg(outputPath, inputPath));
}

void WriteWholeFile(const QString &path, const QByteArray &bytes, const QStringList &inputs)
{
    try {
        WriteOutputFile(path, bytes, inputs);
    } catch (const BvlError &e) {
        const QString reason = QString::fromUtf8(e.what());
        throw CliError(QStringLiteral("%1: %2; nothing was written")
                           .arg(path, e.number() == ErrNo::PathFileAccess
                                          ? QStringLiteral("cannot be written (%1)").arg(reason)
                                          : reason));
    }
}

QString SettingLabel(const SettingList &settings, int index)
{
    return FindingSettingLabel(settings, index);
}

void WriteSettingFileJson(const QCommandLineParser &parser, QTextStream &out, const SettingFileHeader &header,
                          const SettingList &settings, const QStringList &inputs)
{
    const QByteArray json = QJsonDocument(SettingFileToJson(header, settings)).toJson(QJsonDocument::Indented);
    if (parser.isSet(QStringLiteral("output")))
        WriteWholeFile(parser.value(QStringLiteral("output")), json, inputs);
    else
        out << QString::fromUtf8(json);
}
