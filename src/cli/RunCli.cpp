#include "cli/RunCli.h"

#include "cli/CodePageOption.h"
#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/HelpText.h"
#include "core/BvlError.h"
#include "core/CodePage.h"
#include "core/Conversions.h"

#include <new>
#include <optional>

namespace {

// Where the summaries of the commands start at the least.
constexpr int MinCommandColumn = 11;

QCommandLineOption HelpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
}

QString ProgramHelp(const std::vector<std::unique_ptr<Command>> &commands, const QCommandLineParser &parser)
{
    QString help = WithUsageLine(parser.helpText(), CliProgramName + QStringLiteral(" COMMAND [options] ARGS"));
    help += QStringLiteral("\nCommands:\n");
    // The summaries start in one column, two blanks past the longest name.
    int column = MinCommandColumn;
    for (const auto &command : commands)
        column = qMax(column, int(command->name().size()) + 4);
    for (const auto &command : commands) {
        const QString head = QStringLiteral("  ") + command->name().leftJustified(column - 2);
        help += head + WrapText(command->summary(), column, HelpWidth, head.size()) + QLatin1Char('\n');
    }
    help += QLatin1Char('\n')
            + WrapText(QStringLiteral("'%1 COMMAND --help' describes a command. Exit status: 0 success, 1 a refused "
                                      "operation, a difference found (diff), an error found (check) or a conflict "
                                      "(merge-sec); nothing is written then. 2 bad usage.")
                           .arg(CliProgramName),
                       0)
            + QLatin1Char('\n');
    return help;
}

int UsageError(CommandContext &context, const QString &problem, const QString &helpCommand)
{
    context.err << CliProgramName << ": " << problem << "\n"
                << "See '" << helpCommand << " --help'.\n";
    return ExitBadUsage;
}

QString UsageOf(const Command &command)
{
    QString usage = CliProgramName + QLatin1Char(' ') + command.name();
    if (!command.options().isEmpty())
        usage += QStringLiteral(" [options]");
    for (const PositionalArgument &argument : command.arguments())
        usage += QLatin1Char(' ') + (argument.syntax.isEmpty() ? argument.name : argument.syntax);
    return usage;
}

int RunCommand(Command &command, const QStringList &arguments, CommandContext &context)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(WrapText(command.description(), 0));
    const QCommandLineOption help = HelpOption();
    parser.addOption(help);
    const QCommandLineOption codePage = CodePageOption();
    parser.addOption(codePage);
    for (const QCommandLineOption &option : command.options())
        parser.addOption(option);
    for (const PositionalArgument &argument : command.arguments())
        parser.addPositionalArgument(argument.name, argument.description, argument.syntax);

    const QString helpCommand = CliProgramName + QLatin1Char(' ') + command.name();
    if (!parser.parse(QStringList{CliProgramName} + arguments))
        return UsageError(context, parser.errorText(), helpCommand);
    if (parser.isSet(help)) {
        context.out << WithUsageLine(parser.helpText(), UsageOf(command));
        return ExitSuccess;
    }
    const int count = parser.positionalArguments().size();
    if (count < command.minimumArguments())
        return UsageError(context, QStringLiteral("%1 needs more arguments: %2").arg(command.name(), UsageOf(command)),
                          helpCommand);
    if (command.maximumArguments() >= 0 && count > command.maximumArguments())
        return UsageError(context, QStringLiteral("%1 takes fewer arguments: %2").arg(command.name(), UsageOf(command)),
                          helpCommand);
    std::optional<CodePage::Scope> codePageOfRun;
    if (parser.isSet(codePage)) {
        const int number = CodePageOfOption(parser.value(codePage));
        if (number == 0)
            return UsageError(
                context,
                QStringLiteral("'%1' is not a code page offered (%2)").arg(parser.value(codePage), OfferedCodePages()),
                helpCommand);
        codePageOfRun.emplace(number);
    }
    try {
        return command.execute(parser, context);
    } catch (const CliError &e) {
        if (e.status() == ExitBadUsage)
            return UsageError(context, e.message(), helpCommand);
        context.err << CliProgramName << ": " << e.message() << "\n";
        return e.status();
    } catch (const BvlError &e) {
        // Commands name the file for every failure they expect; this is the last resort.
        context.err << CliProgramName << ": " << command.name() << " failed (error " << e.number() << ": " << e.what()
                    << ")\n";
        return ExitRefused;
    } catch (const std::bad_alloc &) {
        // Files are refused by size before they are read, so this takes an input that
        // holds far more than its size suggests; nothing is written before all is encoded.
        context.err << CliProgramName << ": " << command.name() << ": not enough memory; nothing was written\n";
        return ExitRefused;
    }
}

}   // namespace

int RunCli(const QStringList &arguments, const QString &programFolder, QTextStream &out, QTextStream &err,
           const QString &userFolder)
{
    CommandContext context{out, err, programFolder, userFolder};
    const std::vector<std::unique_ptr<Command>> commands = AllCommands();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        WrapText(QStringLiteral("Reads, changes, compares and checks SEEM files by setting name, through the "
                                "same library as the windows of Brimvale Edit. Setting files are looked for in "
                                "the per-user folder (on Linux ~/.local/share/brimvale-edit/) first, then in the "
                                "program folder, as the windows look for them."),
                 0));
    // Everything after the command belongs to the command.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help = HelpOption();
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the program's version."));
    parser.addOption(help);
    parser.addOption(version);

    if (!parser.parse(QStringList{CliProgramName} + arguments))
        return UsageError(context, parser.errorText(), CliProgramName);
    if (parser.isSet(version)) {
        out << CliProgramName << ' ' << VersionString() << '\n';
        return ExitSuccess;
    }
    const QStringList rest = parser.positionalArguments();
    if (parser.isSet(help)) {
        out << ProgramHelp(commands, parser);
        return ExitSuccess;
    }
    if (rest.isEmpty()) {
        err << ProgramHelp(commands, parser);
        return ExitBadUsage;
    }
    for (const auto &command : commands)
        if (command->name() == rest.first())
            return RunCommand(*command, rest.mid(1), context);
    return UsageError(context, QStringLiteral("'%1' is not a command").arg(rest.first()), CliProgramName);
}
