// check: how well a setting file fits the windows, and optionally one image.
#include "cli/CommandRegistry.h"
#include "cli/Counted.h"
#include "cli/ExitStatus.h"
#include "cli/Inputs.h"
#include "core/CodePage.h"
#include "seem/authoring/SettingFileCheck.h"
#include "seem/authoring/SettingFitCheck.h"
#include "seem/files/SeemFile.h"

namespace {

void Print(const QString &file, const SettingList &settings, const QVector<FitFinding> &findings, QTextStream &out)
{
    for (const FitFinding &f : findings)
        out << file << ": " << FindingLine(settings, f) << '\n';
}

class CheckCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("check"); }
    QString summary() const override { return QStringLiteral("Check a setting file, and its fit to a SEEM file."); }
    QString description() const override
    {
        return QStringLiteral(
            "Checks how well SEC fits the windows and, when given, IMAGE.\n"
            "Errors (what would write wrong bits): records the windows cannot show (type codes above 4, values "
            "that are no numbers, fewer values than names), check boxes whose checked and unchecked values are "
            "equal within their bits, string fields too small for a terminator, an empty bit mask, a negative "
            "offset, an empty name or group, a list without entries, texts the code page (--code-page) cannot "
            "hold or longer than the 65535 bytes a setting file holds (in a record or the header's author and "
            "phones).\n"
            "Warnings (what is odd): bits owned by more than one setting (sharing a byte is normal, sharing a bit "
            "rarely is), values with bits outside the mask, lists with repeated values or more values than names, "
            "check boxes with more than two values, numbers and texts with a bit mask or value names, UTF-16 "
            "fields of odd length, two settings of one "
            "name in one group. The settings that share bits of one byte, a run of bytes or a name make one "
            "warning, which names the first eight of them.\n"
            "With IMAGE also: settings whose bytes lie past the end of the image (an error), a setting file made "
            "for another SEEM or record than the image's name says, check boxes whose bits match neither value, "
            "lists whose bits match no entry, strings without a terminator.\n"
            "Exit status 1 when there is an error.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {
            {QStringLiteral("SEC"), QStringLiteral("The setting file."), {}},
            {QStringLiteral("IMAGE"), QStringLiteral("A SEEM file to check it against."), QStringLiteral("[IMAGE]")}};
    }
    int minimumArguments() const override { return 1; }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        const QString secPath = parser.positionalArguments().at(0);
        // Read without the header check: a refused header is one of the findings.
        const LoadedSettingFile file = ReadSettingFileAsIs(secPath);
        const SettingList &settings = file.settings;
        QVector<FitFinding> findings = CheckSettingFile(file.header, settings, CodePage::Current());
        Print(secPath, settings, findings, context.out);
        if (parser.positionalArguments().size() > 1) {
            const QString imagePath = parser.positionalArguments().at(1);
            SeemFile image;
            OpenImage(image, imagePath, false, context.err);
            QVector<FitFinding> imageFindings = CheckSettingsAgainstImage(settings, image);
            if (const std::optional<FitFinding> other = RecordNumberFinding(file.header, imagePath))
                imageFindings.prepend(*other);
            Print(imagePath, settings, imageFindings, context.out);
            findings += imageFindings;
        }
        const int errors = ErrorCount(findings);
        context.out << Counted(settings.size(), QStringLiteral("setting")) << ", "
                    << Counted(errors, QStringLiteral("error")) << ", "
                    << Counted(findings.size() - errors, QStringLiteral("warning")) << '\n';
        return errors > 0 ? ExitRefused : ExitSuccess;
    }
};

}   // namespace

std::unique_ptr<Command> MakeCheckCommand()
{
    return std::make_unique<CheckCommand>();
}
