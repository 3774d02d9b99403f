// apply: settings of an image from a profile, the JSON that show prints.
#include "cli/Assignments.h"
#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/ValueJson.h"
#include "core/JsonFields.h"
#include "core/RegularFile.h"

#include <QJsonArray>

namespace {

// One entry of the profile's "settings": group (optional) and name say which setting,
// value says what to; show's other keys are passed over. A null value is skipped.
bool EntryAssignment(const QJsonObject &entry, const QString &path, Assignment &assignment)
{
    const QString name = RequireString(entry, QStringLiteral("name"), path);
    const QString group = entry.contains(QStringLiteral("group")) ? RequireString(entry, QStringLiteral("group"), path) : QString();
    const QJsonValue value = RequireField(entry, QStringLiteral("value"), path);
    if (value.isNull())
        return false;
    QString words;
    if (!ValueWordsFromJson(value, words))
        throw JsonInputError(ErrNo::TypeMismatch, FieldPath(path, QStringLiteral("value")),
                             QStringLiteral("expected a string, a whole number, true or false"));
    assignment = Assignment{path, group.isEmpty() ? name : group + QLatin1Char('\\') + name, words};
    return true;
}

QVector<Assignment> ProfileAssignments(const QString &profilePath)
{
    try {
        const QJsonObject profile = ParseJsonObject(ReadWholeFile(profilePath, MaxJsonFileBytes));
        const QJsonArray entries = RequireArray(profile, QStringLiteral("settings"), QStringLiteral("$"));
        QVector<Assignment> assignments;
        for (int i = 0; i < entries.size(); ++i) {
            const QString path = ElementPath(QStringLiteral("$.settings"), i);
            Assignment assignment;
            if (EntryAssignment(RequireObject(entries.at(i), path), path, assignment))
                assignments.append(assignment);
        }
        return assignments;
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
    QList<QCommandLineOption> options() const override { return {SecOption(), SecDirOption(), DryRunOption()}; }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        const QString imagePath = parser.positionalArguments().at(0);
        const QVector<Assignment> assignments = ProfileAssignments(parser.positionalArguments().at(1));
        const LoadedSettingFile settingFile = SettingFileForImage(imagePath, parser, context.programFolder);
        AssignmentRun run;
        run.dryRun = parser.isSet(QStringLiteral("dry-run"));
        run.reportUnchanged = false;
        return CarryOutAssignments(assignments, imagePath, settingFile, run, context);
    }
};

} // namespace

std::unique_ptr<Command> MakeApplyCommand()
{
    return std::make_unique<ApplyCommand>();
}
