// show: every setting of an image with its value, as the main window shows it.
#include "cli/CommandRegistry.h"
#include "cli/Counted.h"
#include "cli/ExitStatus.h"
#include "cli/Inputs.h"
#include "cli/LongOutput.h"
#include "cli/RecordCheck.h"
#include "cli/TextTable.h"
#include "core/OffsetText.h"
#include "seem/document/SeemDocument.h"
#include "seem/document/SettingLookup.h"
#include "seem/profiles/ValueProfile.h"
#include "seem/values/OwnedBytes.h"
#include "seem/values/SettingValueText.h"

#include <QFileInfo>

namespace {

// How many settings could not be read from the image; each is shown with its reason.
int PrintText(SeemDocument &document, QTextStream &out)
{
    int unreadable = 0;
    TextTable table;
    table.addRow({QStringLiteral("GROUP"), QStringLiteral("NAME"), QStringLiteral("VALUE"), QStringLiteral("TYPE"),
                  QStringLiteral("OFFSET"), QStringLiteral("BITS")});
    for (const SettingStruct &s : document.settings()) {
        const ValueText value = DecodeValueText(document.file(), s);
        unreadable += value.unreadable;
        table.addRow({CellText(NormalisedGroup(s.Group)), CellText(s.Name),
                      value.decoded ? CellText(value.text) : QStringLiteral("(%1)").arg(value.reason),
                      SettingTypeName(s.Type), OffsetText(s.Offset), OwnedBitsText(OwnedSpanOf(s))});
    }
    table.print(out);
    return unreadable;
}

class ShowCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("show"); }
    QString summary() const override { return QStringLiteral("Print every setting of a SEEM file with its value."); }
    QString description() const override
    {
        return QStringLiteral(
            "Prints every setting of IMAGE in setting-file order: group, name, value as the main window shows it "
            "(a check box on or off, a list entry's name, the number, the text), type, offset and owned bits. A "
            "setting that cannot be shown says why (null in JSON); when its bytes could not be read from IMAGE "
            "(they lie outside it, or a read failed) the exit status is 1.\n"
            "Without --sec the setting file is chosen as the main window's automatic choice does, from the "
            "SEEM and record number in the image's file name.\n"
            "The JSON form has its keys in alphabetical order and the settings in file order; apply reads it.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("IMAGE"), QStringLiteral("The SEEM file."), {}}};
    }
    QList<QCommandLineOption> options() const override { return {SecOption(), SecDirOption(), FormatOption()}; }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        const OutputFormat format = FormatOf(parser);
        const QString imagePath = parser.positionalArguments().at(0);
        const LoadedSettingFile settingFile = SettingFileForImage(imagePath, parser, context);
        WarnOtherRecord(settingFile, {imagePath}, context.err);
        auto image = std::make_unique<SeemFile>();
        OpenImage(*image, imagePath, false, context.err);
        // The document the main window shows, unedited: the values as the file holds them.
        SeemDocument document;
        document.load(std::move(image), settingFile.path, settingFile.header, settingFile.settings);
        int unreadable = 0;
        if (format == OutputFormat::Text)
            unreadable = PrintText(document, context.out);
        else
            WriteLongText(context.out, QString::fromUtf8(document.profileJson(&unreadable)));
        // A table with holes in it is no successful read, least of all for a script.
        if (unreadable > 0)
            throw CliError(QStringLiteral("%1: %2 of %3 could not be read from it")
                               .arg(imagePath, QString::number(unreadable),
                                    Counted(settingFile.settings.size(), QStringLiteral("setting"))));
        return ExitSuccess;
    }
};

}   // namespace

std::unique_ptr<Command> MakeShowCommand()
{
    return std::make_unique<ShowCommand>();
}
