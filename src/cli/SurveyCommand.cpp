// survey: the values of every setting over many images of one SEEM and record.
#include "cli/AuthoringInputs.h"
#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/Inputs.h"
#include "cli/LongOutput.h"
#include "cli/RunCli.h"
#include "cli/TextTable.h"
#include "core/CodePage.h"
#include "core/Conversions.h"
#include "core/OffsetText.h"
#include "seem/authoring/RecordMatch.h"
#include "seem/document/SettingLookup.h"
#include "seem/profiles/ValueJson.h"
#include "seem/survey/ImageSurvey.h"
#include "seem/survey/SurveyCsv.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString FormatName = QStringLiteral("format");
const QString VaryingName = QStringLiteral("varying");
const QString SettingName = QStringLiteral("setting");
// Image names listed beside a value in the text form; the rest are counted.
constexpr int NamedImages = 5;

enum class SurveyFormat {
    Text,
    Csv,
    Json
};

SurveyFormat SurveyFormatOf(const QCommandLineParser &parser)
{
    const QString format = parser.value(FormatName);
    if (format == QLatin1String("text"))
        return SurveyFormat::Text;
    if (format == QLatin1String("csv"))
        return SurveyFormat::Csv;
    if (format == QLatin1String("json"))
        return SurveyFormat::Json;
    throw CliError(QStringLiteral("--format takes text, csv or json, not '%1'").arg(format), ExitBadUsage);
}

QString ImageName(const SurveyImage &image)
{
    return QFileInfo(image.path).fileName();
}

// The setting --setting names (0-based), or -1 without it; a name that finds none is
// refused with the nearest names.
int NamedSetting(const QCommandLineParser &parser, const SettingList &settings)
{
    if (!parser.isSet(SettingName))
        return -1;
    const QString query = parser.value(SettingName);
    const SettingMatch match = FindSetting(settings, query);
    if (match.result == SettingMatch::Found)
        return match.index() - 1;
    if (match.result == SettingMatch::Ambiguous) {
        QStringList candidates;
        for (int index : match.indices)
            candidates << SettingLabel(settings, index);
        QString named = candidates.join(QStringLiteral(", "));
        if (match.count > match.indices.size())
            named += QStringLiteral(" and %1 more").arg(match.count - match.indices.size());
        throw CliError(QStringLiteral("'%1' names %2; write GROUP\\NAME").arg(query, named));
    }
    throw CliError(QStringLiteral("no setting is named \"%1\"").arg(query)
                   + DidYouMeanSetting(NearestNames(settings), settings, query));
}

// The settings shown: the one named, the varying ones for --varying, or all.
QVector<int> ChosenSettings(const QCommandLineParser &parser, const ImageSurvey &survey, int named)
{
    if (named >= 0)
        return {named};
    return SurveySettings(survey, parser.isSet(VaryingName));
}

QJsonObject ImageJson(const ImageSurvey &survey, int index)
{
    const SurveyImage &image = survey.image(index);
    QJsonObject json{{QStringLiteral("path"), image.path}, {QStringLiteral("used"), image.used()}};
    if (!image.used())
        json.insert(QStringLiteral("reason"), SurveyLeftOutReason(survey, image));
    return json;
}

QJsonObject SettingJson(const ImageSurvey &survey, int s)
{
    const SettingStruct &setting = survey.settings().at(s);
    const QVector<SurveyValue> &values = survey.values(s);
    const QVector<QVector<int>> holders = survey.imagesByValue(s);
    QJsonArray distinct;
    for (int v = 0; v < values.size(); ++v) {
        QJsonObject entry{{QStringLiteral("value"), ValueToJson(setting, values.at(v).value)},
                          {QStringLiteral("count"), values.at(v).count}};
        if (!values.at(v).value.decoded)
            entry.insert(QStringLiteral("reason"), values.at(v).value.reason);
        QJsonArray images;
        for (int i : holders.at(v))
            images.append(i);
        entry.insert(QStringLiteral("images"), images);
        distinct.append(entry);
    }
    return {{QStringLiteral("name"), SettingPathOf(setting)},
            {QStringLiteral("varies"), survey.varies(s)},
            {QStringLiteral("values"), distinct}};
}

void WriteJson(const ImageSurvey &survey, const QString &secPath, const QVector<int> &chosen, QTextStream &out)
{
    QJsonArray images;
    for (int i = 0; i < survey.imageCount(); ++i)
        images.append(ImageJson(survey, i));
    QJsonArray settings;
    for (int s : chosen)
        settings.append(SettingJson(survey, s));
    QJsonArray undescribed;
    for (const UndescribedDifference &d : survey.undescribedVariation())
        undescribed.append(QJsonObject{{QStringLiteral("offset"), d.offset}, {QStringLiteral("mask"), d.bits}});
    const QJsonObject json{{QStringLiteral("settingFile"), secPath},
                           {QStringLiteral("codePage"), CodePage::Current()},
                           {QStringLiteral("imageSize"), survey.imageSize()},
                           {QStringLiteral("imagesUsed"), survey.usedCount()},
                           {QStringLiteral("images"), images},
                           {QStringLiteral("settings"), settings},
                           {QStringLiteral("undescribedVaryingBits"), undescribed}};
    WriteLongText(out, QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented)));
}

// "0001.seem, 0002.seem and 3 more".
QString HoldersText(const ImageSurvey &survey, const QVector<int> &holders)
{
    QStringList names;
    for (int k = 0; k < holders.size() && k < NamedImages; ++k)
        names << ImageName(survey.image(holders.at(k)));
    QString text = names.join(QStringLiteral(", "));
    if (holders.size() > NamedImages)
        text += QStringLiteral(" and %1 more").arg(holders.size() - NamedImages);
    return text;
}

void WriteText(const ImageSurvey &survey, const QString &secPath, const QVector<int> &chosen, bool allChosen,
               QTextStream &out)
{
    out << "Setting file: " << secPath << " (SEEM "
        << RecordNumbersText(survey.header().SEEMNr, survey.header().SEEMRec) << ")\n";
    out << "Images: " << survey.usedCount() << " of " << survey.imageCount() << " used";
    if (survey.imageSize() >= 0)
        out << ", " << survey.imageSize() << " bytes each";
    out << "\n";
    for (int i = 0; i < survey.imageCount(); ++i)
        if (!survey.image(i).used())
            out << "  left out: " << survey.image(i).path << ": " << SurveyLeftOutReason(survey, survey.image(i))
                << "\n";

    int varying = 0;
    for (int s = 0; s < survey.settings().size(); ++s)
        varying += survey.varies(s) ? 1 : 0;
    out << "\nSettings that vary: " << varying << " of " << survey.settings().size() << "\n";
    // Without --setting only the varying ones are worth a distribution.
    for (int s : chosen) {
        if (allChosen && !survey.varies(s))
            continue;
        out << SettingPathOf(survey.settings().at(s)) << (survey.varies(s) ? "\n" : " (the same in every image)\n");
        TextTable table;
        const QVector<SurveyValue> &values = survey.values(s);
        const QVector<QVector<int>> holders = survey.imagesByValue(s);
        for (int v = 0; v < values.size(); ++v) {
            const ValueText &value = values.at(v).value;
            table.addRow({QStringLiteral(" "), value.decoded ? CellText(value.text) : SurveyValueText(value),
                          QString::number(values.at(v).count), HoldersText(survey, holders.at(v))});
        }
        table.print(out);
    }

    const QVector<UndescribedDifference> undescribed = survey.undescribedVariation();
    out << "\nBytes with varying bits that no setting describes: " << undescribed.size() << "\n";
    for (const UndescribedDifference &d : undescribed)
        out << "  " << OffsetText(d.offset) << ": bits " << ValueToBitText(d.bits) << "\n";
}

class SurveyCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("survey"); }
    QString summary() const override
    {
        return QStringLiteral("Compare the values of every setting over many SEEM files.");
    }
    QString description() const override
    {
        return QStringLiteral(
            "Reads each IMAGE, or each *.seem file of a FOLDER in name order, through one setting file (without "
            "--sec the one chosen for the first image, as show chooses it) and prints, per setting, its distinct "
            "values with how many images hold each, and the bits that vary between images that no setting "
            "describes. An image of another size than the first used, of another SEEM or record by its name, or "
            "that cannot be read is left out with a warning.\n"
            "The CSV form has a row per setting and a column per image used, values as show prints them. The "
            "JSON form numbers images from 0 in the order read.\n"
            "Exit status 0 when every image was used, 1 when some were left out.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("IMAGE|FOLDER"), QStringLiteral("SEEM files, or folders of them."),
                 QStringLiteral("IMAGE|FOLDER...")}};
    }
    int maximumArguments() const override { return -1; }
    QList<QCommandLineOption> options() const override
    {
        return {SecOption(), SecDirOption(),
                QCommandLineOption(FormatName, QStringLiteral("Output as text (the default), csv or json."),
                                   QStringLiteral("text|csv|json"), QStringLiteral("text")),
                QCommandLineOption(VaryingName, QStringLiteral("Only the settings that differ between images.")),
                QCommandLineOption(SettingName, QStringLiteral("Only this setting's values (GROUP\\NAME or NAME)."),
                                   QStringLiteral("NAME"))};
    }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        const SurveyFormat format = SurveyFormatOf(parser);
        const QStringList paths = SurveyImagePaths(parser.positionalArguments());
        if (paths.isEmpty())
            throw CliError(QStringLiteral("%1: holds no *.seem files").arg(parser.positionalArguments().join(", ")));
        // The automatic choice goes by the first image there is.
        QString chooser = paths.first();
        for (const QString &path : paths)
            if (QFileInfo::exists(path)) {
                chooser = path;
                break;
            }
        const LoadedSettingFile settingFile = SettingFileForImage(chooser, parser, context);
        const int named = NamedSetting(parser, settingFile.settings);
        ImageSurvey survey(settingFile.header, settingFile.settings);
        for (const QString &path : paths) {
            const SurveyImage &image = survey.add(path);
            if (!image.used())
                context.err << CliProgramName << ": warning: " << path << ": " << SurveyLeftOutReason(survey, image)
                            << ", left out\n";
        }
        const QVector<int> chosen = ChosenSettings(parser, survey, named);
        switch (format) {
        case SurveyFormat::Csv:
            WriteSurveyCsv(survey, chosen, context.out);
            break;
        case SurveyFormat::Json:
            WriteJson(survey, settingFile.path, chosen, context.out);
            break;
        case SurveyFormat::Text:
            WriteText(survey, settingFile.path, chosen, named < 0, context.out);
            break;
        }
        return survey.usedCount() == survey.imageCount() ? ExitSuccess : ExitRefused;
    }
};

}   // namespace

std::unique_ptr<Command> MakeSurveyCommand()
{
    return std::make_unique<SurveyCommand>();
}
