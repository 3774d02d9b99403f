// compare-sec: two versions of a setting file, setting by setting.
#include "cli/CommandRegistry.h"
#include "cli/Counted.h"
#include "cli/ExitStatus.h"
#include "cli/Inputs.h"
#include "seem/authoring/RecordRules.h"
#include "seem/authoring/SettingFileComparison.h"
#include "seem/document/SettingLookup.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using HeaderField = SettingFileDocument::HeaderField;

QStringList FieldNames(const QVector<RecordField> &fields)
{
    QStringList names;
    for (RecordField field : fields)
        names << RecordFieldName(field);
    return names;
}

// "Sound\Volume (#2)": a setting as every door names it, with its record number.
QString Label(const SettingList &settings, int k)
{
    return QStringLiteral("%1 (#%2)").arg(SettingPathOf(settings.at(k - 1)), QString::number(k));
}

QJsonObject Entry(const SettingList &settings, int k)
{
    return {{QStringLiteral("record"), k}, {QStringLiteral("name"), SettingPathOf(settings.at(k - 1))}};
}

class CompareSecCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("compare-sec"); }
    QString summary() const override { return QStringLiteral("List what changed between two setting files."); }
    QString description() const override
    {
        return QStringLiteral(
            "Compares OLD and NEW setting by setting. Settings are matched by their full name (GROUP\\NAME, "
            "blanks around the elements aside), then those left by type and offset (a renamed setting). Lists the "
            "header fields that differ, the settings added (+), removed (-) and changed (~) with the fields that "
            "differ. The order of the settings is no change.\n"
            "Exit status 0 when the files are equal setting by setting, 1 when they differ.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("OLD"), QStringLiteral("The setting file before."), {}},
                {QStringLiteral("NEW"), QStringLiteral("The setting file after."), {}}};
    }
    QList<QCommandLineOption> options() const override { return {FormatOption()}; }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        const OutputFormat format = FormatOf(parser);
        const LoadedSettingFile before = LoadSettingFile(parser.positionalArguments().at(0));
        const LoadedSettingFile after = LoadSettingFile(parser.positionalArguments().at(1));
        const SettingFileComparison c =
            CompareSettingFiles(before.header, before.settings, after.header, after.settings);
        if (format == OutputFormat::Json)
            printJson(c, before.settings, after.settings, context.out);
        else
            printText(c, before.settings, after.settings, context.out);
        return c.equal() ? ExitSuccess : ExitRefused;
    }

private:
    static void printText(const SettingFileComparison &c, const SettingList &before, const SettingList &after,
                          QTextStream &out)
    {
        for (HeaderField field : c.header)
            out << "header: " << HeaderFieldName(field) << '\n';
        for (int k : c.removed)
            out << "- " << Label(before, k) << '\n';
        for (int k : c.added)
            out << "+ " << Label(after, k) << '\n';
        for (const SettingChange &change : c.changed) {
            out << "~ " << Label(before, change.before);
            if (change.renamed)
                out << " -> " << Label(after, change.after);
            if (!change.fields.isEmpty())
                out << ": " << FieldNames(change.fields).join(QStringLiteral(", "));
            out << '\n';
        }
        out << Counted(c.added.size(), QStringLiteral("setting")) << " added, " << c.removed.size() << " removed, "
            << c.changed.size() << " changed\n";
    }

    static void printJson(const SettingFileComparison &c, const SettingList &before, const SettingList &after,
                          QTextStream &out)
    {
        QJsonArray header, added, removed, changed;
        for (HeaderField field : c.header)
            header.append(HeaderFieldName(field));
        for (int k : c.added)
            added.append(Entry(after, k));
        for (int k : c.removed)
            removed.append(Entry(before, k));
        for (const SettingChange &change : c.changed) {
            QJsonObject entry = Entry(after, change.after);
            entry.insert(QStringLiteral("before"), Entry(before, change.before));
            entry.insert(QStringLiteral("renamed"), change.renamed);
            entry.insert(QStringLiteral("fields"), QJsonArray::fromStringList(FieldNames(change.fields)));
            changed.append(entry);
        }
        const QJsonObject json{{QStringLiteral("equal"), c.equal()},
                               {QStringLiteral("header"), header},
                               {QStringLiteral("added"), added},
                               {QStringLiteral("removed"), removed},
                               {QStringLiteral("changed"), changed}};
        out << QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented));
    }
};

}   // namespace

std::unique_ptr<Command> MakeCompareSecCommand()
{
    return std::make_unique<CompareSecCommand>();
}
