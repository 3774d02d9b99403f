// apply: settings of an image from a profile, the JSON that show prints.
#include "cli/Assignments.h"
#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/RecordCheck.h"
#include "core/JsonFields.h"
#include "core/RegularFile.h"
#include "seem/profiles/ValueProfile.h"

namespace {

QVector<Assignment> ProfileAssignments(const QString &profilePath)
{
    try {
        return ReadValueProfile(ReadWholeFile(profilePath, MaxJsonFileBytes));
    } catch (const JsonInputError &e) {
        throw CliError(QStringLiteral("%1: %2: %3; nothing was written").arg(profilePath, e.path(), e.problem()));
    }
}

class ApplyCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("apply"); }
    QString summary() const override { return QStringLiteral("Change settings of a SEEM file from a JSON profile."); }
    QString description() const override
    {
        return QStringLiteral(
            "Sets the settings listed in PROFILE.json, a JSON object of the form 'show --format json' prints, in "
            "IMAGE. Each entry of \"settings\" names its setting by \"group\" and \"name\" and gives \"value\"; "
            "other keys are passed over, null values and values equal to the image's are skipped. All or "
            "nothing, as set.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("IMAGE"), QStringLiteral("The SEEM file to change."), {}},
                {QStringLiteral("PROFILE.json"), QStringLiteral("The JSON profile."), {}}};
    }
    QList<QCommandLineOption> options() const override
    {
        return {SecOption(), SecDirOption(), DryRunOption(), AnyRecordOption()};
    }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        const QString imagePath = parser.positionalArguments().at(0);
        const QVector<Assignment> assignments = ProfileAssignments(parser.positionalArguments().at(1));
        const LoadedSettingFile settingFile = SettingFileForImage(imagePath, parser, context);
        RequireImageRecord(settingFile, imagePath, parser);
        AssignmentRun run;
        run.dryRun = parser.isSet(QStringLiteral("dry-run"));
        run.reportUnchanged = false;
        return CarryOutAssignments(assignments, imagePath, settingFile, run, context);
    }
};

}   // namespace

std::unique_ptr<Command> MakeApplyCommand()
{
    return std::make_unique<ApplyCommand>();
}
