// textconv: a setting file as stable text, for git diff.
#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/Inputs.h"
#include "cli/LongOutput.h"
#include "seem/authoring/SettingFileText.h"

namespace {

class TextconvCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("textconv"); }
    QString summary() const override { return QStringLiteral("Print a setting file as stable text for git diff."); }
    QString description() const override
    {
        return QStringLiteral(
            "Prints SEC as line-oriented text: the header, then one block per setting in file order, headed by its "
            "full name (GROUP\\NAME), its fields one a line in a fixed order, offsets as \"16 (0x10)\". Texts "
            "never span lines: line ends, tabs and other control characters are escaped. Made for "
            "git's diff.<driver>.textconv, so that git diff and git log -p show a changed setting by name.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("SEC"), QStringLiteral("The setting file."), {}}};
    }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        // Any setting file, as check and export take it: a diff must show even a damaged one.
        const LoadedSettingFile file = ReadSettingFileAsIs(parser.positionalArguments().at(0));
        WriteLongText(context.out, SettingFileText(file.header, file.settings));
        return ExitSuccess;
    }
};

}   // namespace

std::unique_ptr<Command> MakeTextconvCommand()
{
    return std::make_unique<TextconvCommand>();
}
