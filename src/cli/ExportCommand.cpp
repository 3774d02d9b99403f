// export: a setting file as lossless JSON.
#include "cli/CommandRegistry.h"
#include "cli/Counted.h"
#include "cli/ExitStatus.h"
#include "cli/Inputs.h"
#include "core/RegularFile.h"
#include "core/SettingFile.h"
#include "core/SettingFileJson.h"

namespace {

QCommandLineOption OutputOption()
{
    return QCommandLineOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write the JSON to FILE (replaced as a whole) instead of standard output."),
        QStringLiteral("FILE"));
}

class ExportCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("export"); }
    QString summary() const override { return QStringLiteral("Write a setting file as JSON."); }
    QString description() const override
    {
        return QStringLiteral(
            "Writes SEC as JSON: the header and every field of every record, ValueNames and Values as arrays. "
            "Import of the JSON gives SEC back byte for byte. Keys are in alphabetical order, records in file "
            "order. A setting file whose JSON would be larger than import reads (64 MiB, some 200,000 settings) "
            "is refused and nothing is written.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("SEC"), QStringLiteral("The setting file."), {}}};
    }
    QList<QCommandLineOption> options() const override { return {OutputOption()}; }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        const QString secPath = parser.positionalArguments().at(0);
        if (parser.isSet(QStringLiteral("output")))
            RequireSeparateOutput(secPath, parser.value(QStringLiteral("output")));
        const QByteArray original = ReadWholeFile(secPath, MaxSettingFileBytes);
        const LoadedSettingFile file = ReadSettingFileAsIs(secPath);
        const SettingFileHeader &header = file.header;
        const SettingList &settings = file.settings;
        // The reader passes over bytes behind the last record; they are lost in the JSON.
        const QByteArray encoded = EncodeSettingFile(header, settings);
        if (encoded != original)
            context.err << secPath << ": "
                        << (original.startsWith(encoded)
                                ? Counted(original.size() - encoded.size(), QStringLiteral("byte"))
                                      + (original.size() - encoded.size() == 1
                                             ? QStringLiteral(" after the last record is not part of the JSON")
                                             : QStringLiteral(" after the last record are not part of the JSON"))
                                : QStringLiteral("the JSON does not give this file back byte for byte"))
                        << '\n';
        try {
            WriteSettingFileJson(parser, context.out, header, settings, {secPath});
        } catch (const BvlError &e) {   // too large for import to take back
            throw CliError(QStringLiteral("%1: %2; nothing was written").arg(secPath, QString::fromUtf8(e.what())));
        }
        return ExitSuccess;
    }
};

}   // namespace

std::unique_ptr<Command> MakeExportCommand()
{
    return std::make_unique<ExportCommand>();
}
