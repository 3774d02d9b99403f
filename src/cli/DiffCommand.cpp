// diff: the settings whose values differ between two images.
#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/Inputs.h"
#include "cli/RecordCheck.h"
#include "cli/TextTable.h"
#include "seem/authoring/AutoSelect.h"
#include "seem/document/ImageComparison.h"
#include "seem/document/SeemDocument.h"
#include "seem/document/SettingLookup.h"
#include "seem/profiles/ValueJson.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString Cell(const ValueText &value)
{
    return value.decoded ? CellText(value.text) : QStringLiteral("(%1)").arg(value.reason);
}

QJsonObject DifferenceJson(const SettingStruct &s, const ValueDifference &d)
{
    QJsonObject entry{
        {QStringLiteral("group"), NormalisedGroup(s.Group)},
        {QStringLiteral("name"), s.Name},
        {QStringLiteral("a"), ValueToJson(s, d.a)},
        {QStringLiteral("b"), ValueToJson(s, d.b)},
    };
    if (!d.a.decoded)
        entry.insert(QStringLiteral("reasonA"), d.a.reason);
    if (!d.b.decoded)
        entry.insert(QStringLiteral("reasonB"), d.b.reason);
    return entry;
}

class DiffCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("diff"); }
    QString summary() const override
    {
        return QStringLiteral("List the settings whose values differ between two SEEM files.");
    }
    QString description() const override
    {
        return QStringLiteral(
            "Reads IMAGE_A and IMAGE_B through one setting file (without --sec the one chosen for IMAGE_A) and "
            "prints the settings whose values differ, with both values. Bytes no setting owns are not compared. "
            "Exit status 1 when any setting differs, 0 when none does.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("IMAGE_A"), QStringLiteral("The first SEEM file."), {}},
                {QStringLiteral("IMAGE_B"), QStringLiteral("The second SEEM file."), {}}};
    }
    QList<QCommandLineOption> options() const override { return {SecOption(), SecDirOption(), FormatOption()}; }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        const OutputFormat format = FormatOf(parser);
        const QString pathA = parser.positionalArguments().at(0);
        const QString pathB = parser.positionalArguments().at(1);
        const LoadedSettingFile settingFile = SettingFileForImage(pathA, parser, context);
        WarnOtherRecord(settingFile, {pathA, pathB}, context.err);
        noteOtherChoice(parser, pathB, settingFile, context);
        auto opened = std::make_unique<SeemFile>();
        SeemFile b;
        OpenImage(*opened, pathA, false, context.err);
        OpenImage(b, pathB, false, context.err);
        // The first image as the document the main window shows, the second compared with it.
        SeemDocument document;
        document.load(std::move(opened), settingFile.path, settingFile.header, settingFile.settings);
        const SettingList &settings = document.settings();
        const QVector<ValueDifference> differences = CompareImages(settings, document.file(), b);

        if (format == OutputFormat::Json) {
            QJsonArray entries;
            for (const ValueDifference &d : differences)
                entries.append(DifferenceJson(settings.at(d.index - 1), d));
            const QJsonObject json{{QStringLiteral("a"), QFileInfo(pathA).fileName()},
                                   {QStringLiteral("b"), QFileInfo(pathB).fileName()},
                                   {QStringLiteral("settingFile"), QFileInfo(settingFile.path).fileName()},
                                   {QStringLiteral("differences"), entries}};
            context.out << QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented));
        } else if (!differences.isEmpty()) {
            TextTable table;
            table.addRow({QStringLiteral("SETTING"), pathA, pathB});
            for (const ValueDifference &d : differences)
                table.addRow({CellText(document.fullName(d.index)), Cell(d.a), Cell(d.b)});
            table.print(context.out);
        }
        return differences.isEmpty() ? ExitSuccess : ExitRefused;
    }

private:
    // Two images of different SEEMs compare badly through one setting file; say so.
    static void noteOtherChoice(const QCommandLineParser &parser, const QString &pathB, const LoadedSettingFile &used,
                                CommandContext &context)
    {
        if (parser.isSet(QStringLiteral("sec")))
            return;
        const QString forB = AutoSelectSettingFile(SettingFolders(parser, context), QFileInfo(pathB).fileName());
        if (!forB.isEmpty() && QFileInfo(forB) != QFileInfo(used.path))
            context.err << pathB << ": its own setting file would be " << forB << "; both are read through "
                        << used.path << '\n';
    }
};

}   // namespace

std::unique_ptr<Command> MakeDiffCommand()
{
    return std::make_unique<DiffCommand>();
}
