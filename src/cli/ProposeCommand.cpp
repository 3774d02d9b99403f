// propose: draft settings for the differences between two images, or for what varies over many.
#include "cli/AuthoringInputs.h"
#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/RecordCheck.h"
#include "cli/RunCli.h"
#include "core/OutputTarget.h"
#include "core/SettingFileJson.h"
#include "seem/authoring/DifferenceProposals.h"
#include "seem/authoring/SurveyProposals.h"
#include "seem/survey/ImageSurvey.h"

#include <QFileInfo>

namespace {

// The drafts over every image paths name, each read once; images of another size than the
// first used, of another record by their names, or unreadable are left out with a warning.
QVector<Proposal> ProposeFromMany(const QStringList &paths, const LoadedSettingFile &file, QTextStream &err)
{
    ImageSurvey survey(SurveyHeaderFor(file.header, paths.first()), file.settings);
    SurveyProposer proposer;
    survey.setImageSink([&proposer](const QByteArray &bytes) { proposer.add(bytes); });
    ProposalTexts texts;
    for (const QString &path : paths) {
        const SurveyImage &image = survey.add(path);
        if (!image.used()) {
            err << CliProgramName << ": warning: " << path << ": " << SurveyLeftOutReason(survey, image)
                << ", left out\n";
        } else if (texts.firstImage.isEmpty()) {
            texts.firstImage = QFileInfo(path).fileName();
        } else if (texts.secondImage.isEmpty()) {
            texts.secondImage = QFileInfo(path).fileName();
        }
    }
    if (survey.usedCount() < 2)
        throw CliError(QStringLiteral("%1 of %2 images could be used: drafts need two or more")
                           .arg(QString::number(survey.usedCount()), QString::number(survey.imageCount())));
    return proposer.proposals(file.settings, texts);
}

class ProposeCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("propose"); }
    QString summary() const override
    {
        return QStringLiteral("Draft settings for the bytes two or more SEEM files differ in.");
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
            "With more than two images, or a FOLDER of *.seem files read in name order, it drafts for the bits "
            "that vary over all of them: texts where any image holds text, a byte varying in three bits or more "
            "over more than 8 values as an 8-bit number (described by the range of values seen), otherwise check "
            "boxes and value lists with a state per value seen, named by the value and how many images hold it. "
            "Each description says how many images back the draft. Images of another size than the first used, "
            "of another SEEM or record by their names, or that cannot be read are left out with a warning.\n"
            "Exit status 0 when the result was written, also without drafts; 1 when two images differ in size or "
            "cannot be read, or fewer than two of many could be used.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("IMAGE"), QStringLiteral("The SEEM file before the change, or a FOLDER."),
                 QStringLiteral("IMAGE|FOLDER")},
                {QStringLiteral("OTHER"),
                 QStringLiteral("The SEEM file after the change; more images or folders may follow."),
                 QStringLiteral("[OTHER|FOLDER...]")}};
    }
    int minimumArguments() const override { return 1; }
    int maximumArguments() const override { return -1; }
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
        const QStringList given = parser.positionalArguments();
        const QStringList paths = SurveyImagePaths(given);
        // Two files are the two-image form, a folder or more files the survey's.
        const bool twoImages = paths == given && paths.size() == 2;
        if (paths.size() < 2) {
            if (given.size() == 1 && !QFileInfo(given.first()).isDir())
                throw CliError(QStringLiteral("propose takes two images or more, or a folder of them"), ExitBadUsage);
            throw CliError(QStringLiteral("%1: fewer than two *.seem files").arg(given.join(QStringLiteral(", "))));
        }
        const QString imagePath = paths.first();
        QByteArray image, other;
        if (twoImages) {
            image = ReadImageForCommand(imagePath);
            other = ReadImageForCommand(paths.at(1));
            CheckSameRecordSize(imagePath, image, paths.at(1), other);
        }
        LoadedSettingFile file = SettingFileOrEmpty(imagePath, parser, context);
        const QStringList inputs = paths + QStringList{file.path};
        if (parser.isSet(QStringLiteral("output"))) {
            const QString output = parser.value(QStringLiteral("output"));
            try {
                CheckOutputTarget(output, inputs);
            } catch (const BvlError &e) {
                throw CliError(QStringLiteral("%1: %2; nothing was written").arg(output, QString::fromUtf8(e.what())));
            }
        }
        WarnOtherRecord(file, twoImages ? paths : QStringList{imagePath}, context.err);

        QVector<Proposal> proposals;
        if (twoImages) {
            ProposalTexts texts;
            texts.firstImage = QFileInfo(imagePath).fileName();
            texts.secondImage = QFileInfo(paths.at(1)).fileName();
            proposals = ProposeSettings(file.settings, image, other, texts);
        } else {
            proposals = ProposeFromMany(paths, file, context.err);
        }
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
