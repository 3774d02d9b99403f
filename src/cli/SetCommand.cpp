// set: settings of an image by name, from the command line.
#include "cli/Assignments.h"
#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/RecordCheck.h"
#include "seem/document/SettingLookup.h"

namespace {

// Splits 'GROUP\NAME=VALUE' at the first "=" behind which the left side names a
// setting, so that names holding "=" can be assigned too; else at the first "=".
Assignment SplitAssignment(const QString &argument, const SettingIndex &settings)
{
    int split = argument.indexOf(QLatin1Char('='));
    for (int at = split; at >= 0; at = argument.indexOf(QLatin1Char('='), at + 1)) {
        if (settings.find(argument.left(at)).result != SettingMatch::Unknown) {
            split = at;
            break;
        }
    }
    return Assignment{QLatin1Char('\'') + argument + QLatin1Char('\''), argument.left(split), argument.mid(split + 1)};
}

class SetCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("set"); }
    QString summary() const override { return QStringLiteral("Change settings of a SEEM file by name."); }
    QString description() const override
    {
        return QStringLiteral(
            "Sets each named setting of IMAGE to VALUE, given as show prints it: a check box on or off (also "
            "true/false, 1/0), a list entry by its name, a number 0..255, a text. A bare NAME is taken when no "
            "other setting has that name.\n"
            "All or nothing: when one assignment is refused (an unknown or ambiguous setting, a value not in the "
            "list, out of range, too long for its field or not in its code page) nothing is written. Only the "
            "bits and bytes the assigned settings own change; the file never grows.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("IMAGE"), QStringLiteral("The SEEM file to change."), {}},
                {QStringLiteral("ASSIGNMENT"), QStringLiteral("GROUP\\NAME=VALUE or NAME=VALUE."),
                 QStringLiteral("ASSIGNMENT...")}};
    }
    int maximumArguments() const override { return -1; }
    QList<QCommandLineOption> options() const override
    {
        return {SecOption(), SecDirOption(), DryRunOption(), AnyRecordOption()};
    }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        const QStringList positional = parser.positionalArguments();
        const QString imagePath = positional.first();
        for (const QString &argument : positional.mid(1))
            if (!argument.contains(QLatin1Char('=')))
                throw CliError(QStringLiteral("'%1' is not GROUP\\NAME=VALUE").arg(argument), ExitBadUsage);
        const LoadedSettingFile settingFile = SettingFileForImage(imagePath, parser, context);
        RequireImageRecord(settingFile, imagePath, parser);
        const SettingIndex index(settingFile.settings);
        QVector<Assignment> assignments;
        for (const QString &argument : positional.mid(1))
            assignments.append(SplitAssignment(argument, index));
        AssignmentRun run;
        run.dryRun = parser.isSet(QStringLiteral("dry-run"));
        return CarryOutAssignments(assignments, imagePath, settingFile, run, context);
    }
};

}   // namespace

std::unique_ptr<Command> MakeSetCommand()
{
    return std::make_unique<SetCommand>();
}
