// propose: draft settings for the differences between two images.
#include "cli/AuthoringInputs.h"
#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/RecordCheck.h"
#include "core/OutputTarget.h"
#include "core/SettingFileJson.h"
#include "seem/authoring/DifferenceProposals.h"

#include <QFileInfo>

namespace {

class ProposeCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("propose"); }
    QString summary() const override
    {
        return QStringLiteral("Draft settings for the bytes two SEEM files differ in.");
    }
    QString description() const override
    {
        return QStringLiteral(
            "Compares IMAGE and OTHER, two images of one record read before and after changing one option, and "
            "drafts a setting for every difference no setting describes: texts as string settings, bytes changed "
            "in three bits or more as 8-bit numbers, single bits as check boxes, several bits as value lists with "
            "one state per image. Drafts are in the group Proposed and never own a bit another setting owns.\n"
            "Writes the JSON form of a setting file (as export does): the header and settings of the setting file "
            "unchanged and in order, then the drafts. Without --sec and without an automatic match it starts "
            "from an empty setting file for the SEEM and record number of IMAGE's name. import turns the result "
            "into a setting file.\n"
            "Exit status 0 when the result was written, also without drafts; 1 when the images differ in size or "
            "cannot be read.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("IMAGE"), QStringLiteral("The SEEM file before the change."), {}},
                {QStringLiteral("OTHER"), QStringLiteral("The SEEM file after the change."), {}}};
    }
    QList<QCommandLineOption> options() const override
    {
        return {SecOption(), SecDirOption(),
                QCommandLineOption(
                    {QStringLiteral("o"), QStringLiteral("output")},
                    QStringLiteral("Write the JSON to FILE (replaced as a whole) instead of standard output."),
                    QStringLiteral("FILE"))};
    }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        if (parser.isSet(QStringLiteral("sec")) && parser.isSet(QStringLiteral("sec-dir")))
            throw CliError(QStringLiteral("--sec and --sec-dir exclude each other"), ExitBadUsage);
        const QString imagePath = parser.positionalArguments().at(0);
        const QString otherPath = parser.positionalArguments().at(1);
        const QByteArray image = ReadImageForCommand(imagePath);
        const QByteArray other = ReadImageForCommand(otherPath);
        CheckSameRecordSize(imagePath, image, otherPath, other);
        LoadedSettingFile file = SettingFileOrEmpty(imagePath, parser, context);
        const QStringList inputs = {imagePath, otherPath, file.path};
        if (parser.isSet(QStringLiteral("output"))) {
            const QString output = parser.value(QStringLiteral("output"));
            try {
                CheckOutputTarget(output, inputs);
            } catch (const BvlError &e) {
                throw CliError(QStringLiteral("%1: %2; nothing was written").arg(output, QString::fromUtf8(e.what())));
            }
        }
        WarnOtherRecord(file, {imagePath, otherPath}, context.err);

        ProposalTexts texts;
        texts.firstImage = QFileInfo(imagePath).fileName();
        texts.secondImage = QFileInfo(otherPath).fileName();
        const QVector<Proposal> proposals = ProposeSettings(file.settings, image, other, texts);
        for (const Proposal &p : proposals)
            file.settings.append(p.setting);
        file.header.SettingCount = qint32(file.settings.size());
        try {
            WriteSettingFileJson(parser, context.out, file.header, file.settings, inputs);
        } catch (const BvlError &e) {   // too large for import to take back
            throw CliError(QStringLiteral("%1 with the drafts: %2; nothing was written")
                               .arg(file.path.isEmpty() ? QStringLiteral("an empty setting file") : file.path,
                                    QString::fromUtf8(e.what())));
        }
        // Said once the result is out, so that a refused output is told alone.
        context.err << proposals.size() << (proposals.size() == 1 ? " draft" : " drafts") << " proposed\n";
        return ExitSuccess;
    }
};

}   // namespace

std::unique_ptr<Command> MakeProposeCommand()
{
    return std::make_unique<ProposeCommand>();
}
