// import: a setting file from the JSON that export writes.
#include "cli/CommandRegistry.h"
#include "cli/ExitStatus.h"
#include "cli/Inputs.h"
#include "core/CodePage.h"
#include "core/JsonFields.h"
#include "core/RegularFile.h"
#include "core/SettingFile.h"
#include "core/SettingFileJson.h"
#include "lang/Wording.h"
#include "seem/authoring/FindingTexts.h"
#include "seem/authoring/RecordRules.h"

namespace {

// A finding of a text the format cannot hold, at the JSON path of its field.
JsonInputError Unwritable(const QString &objectPath, const SettingList &settings, const FitFinding &finding)
{
    return JsonInputError(finding.rule == FitRule::TextTooLong ? ErrNo::Overflow : ErrNo::TypeMismatch,
                          FieldPath(objectPath, RecordFieldName(finding.field)),
                          FindingText(EnglishWording(), settings, finding));
}

// What the format cannot hold: the first text outside the code page or too long, by the
// rules the check applies, with the record and the field.
void RefuseUnwritableTexts(const SettingFileHeader &header, const SettingList &settings)
{
    const int codePage = CodePage::Current();
    QVector<FitFinding> findings;
    CheckHeaderTexts(header, codePage, findings);
    if (!findings.isEmpty())
        throw Unwritable(QStringLiteral("$.header"), settings, findings.first());
    for (int i = 0; i < settings.size(); ++i) {
        findings.clear();
        CheckRecordInto(settings.at(i), i + 1, codePage, findings);
        for (const FitFinding &f : findings)
            if (IsUnwritable(f))
                throw Unwritable(ElementPath(QStringLiteral("$.settings"), i), settings, f);
    }
}

// The JSON may describe any file export was given, foreign ones too; what import writes
// must be a file the program opens, so it refuses what the windows would refuse.
void RefuseUnusableFile(const SettingFileHeader &header, const SettingList &settings)
{
    const QString headerPath = QStringLiteral("$.header");
    switch (CheckSettingHeader(header)) {
    case HeaderCheck::UnknownFile:
        throw JsonInputError(
            ErrNo::TypeMismatch, FieldPath(headerPath, QStringLiteral("Magic")),
            QStringLiteral("is \"%1\"; a setting file has \"%2\"").arg(header.Magic, SettingFileFormat::Magic));
    case HeaderCheck::UnsupportedVersion:
        throw JsonInputError(
            ErrNo::TypeMismatch, FieldPath(headerPath, QStringLiteral("FileVersion")),
            QStringLiteral("is %1; only format version %2 is read")
                .arg(QString::number(header.FileVersion), QString::number(SettingFileFormat::Version)));
    case HeaderCheck::Accepted:
        break;
    }
    if (const int oversized = FirstOversizedGroupPath(settings))
        throw JsonInputError(
            ErrNo::Overflow,
            FieldPath(ElementPath(QStringLiteral("$.settings"), oversized - 1), QStringLiteral("Group")),
            QStringLiteral("has more than %1 levels or %2 characters").arg(MaxGroupLevels).arg(MaxGroupPathLength));
    RefuseUnwritableTexts(header, settings);
}

class ImportCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("import"); }
    QString summary() const override { return QStringLiteral("Write a setting file from its JSON form."); }
    QString description() const override
    {
        return QStringLiteral(
            "Writes the setting file that FILE.json, as export wrote it, describes to SEC, as the JSON holds it "
            "(the program version text included). Text that is not JSON (RFC 8259) is refused with the line and "
            "column of the fault, a missing or unknown field or a value out of range with the JSON path of the "
            "problem, a file over 64 MiB (the most export writes) by its size, and nothing is written; so are a "
            "key given twice or holding a NUL character, a Magic other than \"sec\" and a FileVersion other than "
            "3, which the program would not open. Texts may hold any character the code page has a byte for, "
            "control characters and NUL (\\u0000) included, as a setting file stores them; a text with another "
            "character or longer than 65535 bytes is refused with its record and field, as check reports it. "
            "SEC is replaced as a whole; it must not be FILE.json itself, a FIFO or a device.");
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
        RequireSeparateOutput(jsonPath, secPath);
        SettingFileHeader header;
        SettingList settings;
        try {
            SettingFileFromJson(ParseJsonObject(ReadWholeFile(jsonPath, MaxJsonFileBytes)), header, settings);
            RefuseUnusableFile(header, settings);
        } catch (const JsonInputError &e) {
            throw CliError(QStringLiteral("%1: %2: %3; nothing was written").arg(jsonPath, e.path(), e.problem()));
        }
        try {
            WriteSettingFile(secPath, header, settings);
        } catch (const BvlError &e) {
            throw CliError(QStringLiteral("%1: cannot be written (%2); nothing was written").arg(secPath, e.what()));
        }
        return ExitSuccess;
    }
};

}   // namespace

std::unique_ptr<Command> MakeImportCommand()
{
    return std::make_unique<ImportCommand>();
}
