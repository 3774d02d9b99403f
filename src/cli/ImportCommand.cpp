// import: a setting file from the JSON that export writes.
#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/Inputs.h"
#include "core/JsonFields.h"
#include "core/SettingFile.h"
#include "core/SettingFileJson.h"

namespace {

class ImportCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("import"); }
    QString summary() const override { return QStringLiteral("Write a setting file from its JSON form."); }
    QString description() const override
    {
        return QStringLiteral(
            "Writes the setting file that FILE.json, as export wrote it, describes to SEC, as the JSON holds it "
            "(the program version text included). Bad JSON, a missing or unknown field or a value out of range "
            "is refused with the JSON path of the problem, and nothing is written. SEC is replaced as a whole.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("FILE.json"), QStringLiteral("The JSON form of a setting file."), {}}};
    }
    QList<QCommandLineOption> options() const override
    {
        return {QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                                   QStringLiteral("The setting file to write (required)."), QStringLiteral("SEC"))};
    }

    int execute(const QCommandLineParser &parser, CommandContext &) override
    {
        if (!parser.isSet(QStringLiteral("output")))
            throw CliError(QStringLiteral("import needs -o SEC, the setting file to write"), ExitBadUsage);
        const QString jsonPath = parser.positionalArguments().at(0);
        const QString secPath = parser.value(QStringLiteral("output"));
        SettingFileHeader header;
        SettingList settings;
        try {
            SettingFileFromJson(ParseJsonObject(ReadWholeFile(jsonPath)), header, settings);
        } catch (const JsonInputError &e) {
            throw CliError(QStringLiteral("%1: %2: %3; nothing was written").arg(jsonPath, e.path(), e.problem()));
        }
        try {
            WriteSettingFile(secPath, header, settings);
        } catch (const BvlError &e) {
            throw CliError(QStringLiteral("%1: cannot be written (error %2); nothing was written").arg(secPath).arg(e.number()));
        }
        return ExitSuccess;
    }
};

} // namespace

std::unique_ptr<Command> MakeImportCommand()
{
    return std::make_unique<ImportCommand>();
}
