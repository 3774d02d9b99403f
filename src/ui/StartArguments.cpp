#include "ui/StartArguments.h"

#include "core/Conversions.h"
#include "platform/Platform.h"
#include "ui/main/bvlMain.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {
// Fixed English, like the rest of the command line: it is printed before a language is loaded.
const QString UsageLine = QStringLiteral("Usage: brimvale-edit [--help] [--version] [SEEM file]\n");

StartArguments Refused(const QString &reason)
{
    StartArguments refused;
    refused.exitStatus = StartArguments::UsageStatus;
    refused.message = QStringLiteral("brimvale-edit: ") + reason + QLatin1Char('\n') + UsageLine;
    return refused;
}

StartArguments Ending(const QString &text)
{
    StartArguments ending;
    ending.exitStatus = 0;
    ending.message = text;
    return ending;
}
}   // namespace

StartArguments ParseStartArguments(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Brimvale Edit edits SEEM files, the byte images of a phone's numbered configuration\n"
                       "records, through setting files (*.sec) that say what the bytes mean. Setting files\n"
                       "and language files (*.sel) are looked for in the per-user folder (on Linux\n"
                       "~/.local/share/brimvale-edit/) first, then in the program's own folder.\n"
                       "Given a SEEM file, the program opens it after start-up as File > Open SEEM does.\n"
                       "Exit status: 0 when the program ended normally, 2 for a command line it refuses."));
    // Options of our own rather than addHelpOption(), whose --help-all would end the program by itself.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("The SEEM file to open (*.seem, *.bin, *.sch)."),
                                 QStringLiteral("[file]"));

    if (!parser.parse(arguments))
        return Refused(parser.errorText());
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return Refused(QStringLiteral("one SEEM file at most, %1 given.").arg(files.size()));
    // Qt's own first line names the executable by the path it was started with, which the
    // launcher on the PATH makes a long one; ours names the command.
    if (parser.isSet(help))
        return Ending(UsageLine + parser.helpText().section(QLatin1Char('\n'), 1));
    // "program (package) version", the form manual-page tools read the name and version from.
    if (parser.isSet(version))
        return Ending(QStringLiteral("brimvale-edit (") + ApplicationTitle + QStringLiteral(") ") + VersionString()
                      + QLatin1Char('\n'));

    StartArguments start;
    // The Open dialog gives a full path; so does the command line, whatever the working folder.
    if (!files.isEmpty())
        start.seemPath = QDir::toNativeSeparators(QFileInfo(files.first()).absoluteFilePath());
    return start;
}

bool MayHoldToolkitOption(const QStringList &arguments)
{
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            return false;
        if (argument.size() > 2 && argument.startsWith(QLatin1Char('-')) && argument.at(1) != QLatin1Char('-'))
            return true;
    }
    return false;
}

bool StartMainWindow(bvlMain &window, const StartArguments &arguments)
{
    if (!window.Form_Load())
        return false;
    window.show();
    if (!arguments.seemPath.isEmpty())
        window.OpenSEEM(arguments.seemPath);
    return true;
}
