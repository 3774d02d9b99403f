// merge-sec: a three-way merge of setting files, also as git's merge driver.
#include "cli/CommandRegistry.h"
#include "cli/Counted.h"
#include "cli/ExitStatus.h"
#include "cli/Inputs.h"
#include "core/SettingFile.h"
#include "seem/authoring/RecordRules.h"
#include "seem/authoring/SettingFileComparison.h"
#include "seem/authoring/SettingFileMerge.h"
#include "seem/authoring/SettingFileText.h"

#include <optional>

namespace {

// "base #3, theirs #4": where the setting stands in the files that have it.
QString Records(const SettingConflict &c)
{
    const std::pair<const char *, int> sides[] = {{"base", c.base}, {"ours", c.ours}, {"theirs", c.theirs}};
    QStringList where;
    for (const auto &[side, record] : sides)
        if (record > 0)
            where << QStringLiteral("%1 #%2").arg(QLatin1String(side), QString::number(record));
    return where.join(QStringLiteral(", "));
}

QString What(const SettingConflict &c)
{
    if (c.base == 0)
        return QStringLiteral("added on both sides");
    if (c.ours == 0)
        return QStringLiteral("removed by ours, changed by theirs");
    if (c.theirs == 0)
        return QStringLiteral("changed by ours, removed by theirs");
    return QStringLiteral("changed on both sides");
}

// '  Values: base "0 | 1", ours "0 | 2", theirs "0 | 3"': the field in each file that has the setting.
QString FieldLine(RecordField field, const std::optional<SettingStruct> &base, const SettingConflict &c)
{
    QStringList values;
    const auto add = [&](const char *side, const std::optional<SettingStruct> &record) {
        if (record)
            values << QStringLiteral("%1 \"%2\"").arg(QLatin1String(side), SettingFieldText(*record, field));
    };
    add("base", base);
    add("ours", c.asOurs);
    add("theirs", c.asTheirs);
    return QStringLiteral("  %1: %2").arg(RecordFieldName(field), values.join(QStringLiteral(", ")));
}

class MergeSecCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("merge-sec"); }
    QString summary() const override { return QStringLiteral("Merge two versions of a setting file with their base."); }
    QString description() const override
    {
        return QStringLiteral(
            "Merges the changes OURS and THEIRS each made to BASE, setting by setting and field by field, and "
            "writes the merged setting file to OUT. Settings are matched as compare-sec matches them. A change on "
            "one side is taken, the same change on both sides once; the settings keep BASE's order, followed by "
            "those OURS added and then those THEIRS added. Two different changes of one field (or header field), a "
            "setting changed on one side and removed on the other, and one name added differently on both sides "
            "are conflicts: they are listed setting by setting and field by field, and nothing is written, unless "
            "--ours or --theirs resolves every conflict that way. A merged file equal to one of the three is "
            "written as that file was, to the byte; any other carries this program's version.\n"
            "OUT must not be one of the inputs, a FIFO or a device. With --git the arguments are git's %O %A %B: "
            "the merged file replaces %A as a whole, and on a conflict %A is left as it was.\n"
            "Exit status 0 when the merged file was written, 1 on conflicts, 2 on bad usage or an input that "
            "cannot be read as a setting file.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("BASE"), QStringLiteral("The setting file both versions were changed from."), {}},
                {QStringLiteral("OURS"), QStringLiteral("One changed version (with --git, also the output)."), {}},
                {QStringLiteral("THEIRS"), QStringLiteral("The other changed version."), {}}};
    }
    QList<QCommandLineOption> options() const override
    {
        return {QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                                   QStringLiteral("The setting file to write."), QStringLiteral("OUT")),
                QCommandLineOption(QStringLiteral("ours"), QStringLiteral("Resolve every conflict to OURS.")),
                QCommandLineOption(QStringLiteral("theirs"), QStringLiteral("Resolve every conflict to THEIRS.")),
                QCommandLineOption(QStringLiteral("git"),
                                   QStringLiteral("Run as git's merge driver: write over OURS (%A)."))};
    }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        const bool git = parser.isSet(QStringLiteral("git"));
        const bool ours = parser.isSet(QStringLiteral("ours"));
        const bool theirs = parser.isSet(QStringLiteral("theirs"));
        if (ours && theirs)
            throw CliError(QStringLiteral("merge-sec takes --ours or --theirs, not both"), ExitBadUsage);
        if (git == parser.isSet(QStringLiteral("output")))
            throw CliError(QStringLiteral("merge-sec needs either -o OUT, the setting file to write, or --git"),
                           ExitBadUsage);
        const QStringList paths = parser.positionalArguments();
        const LoadedSettingFile base = load(paths.at(0));
        const LoadedSettingFile mine = load(paths.at(1));
        const LoadedSettingFile other = load(paths.at(2));
        const SettingFileMerge merge({base.header, base.settings, base.trailing},
                                     {mine.header, mine.settings, mine.trailing},
                                     {other.header, other.settings, other.trailing});
        if (merge.hasConflicts() && !ours && !theirs) {
            printConflicts(merge, base.settings, context.out);
            throw CliError(QStringLiteral("%1 and %2: %3; nothing was written")
                               .arg(paths.at(1), paths.at(2),
                                    Counted(merge.conflicts().size() + merge.headerConflicts().size(),
                                            QStringLiteral("conflict"))));
        }
        const SettingFileContents merged = merge.result(theirs ? MergeSide::Theirs : MergeSide::Ours);
        QByteArray bytes;
        try {
            bytes = EncodeSettingFile(merged.header, merged.settings) + merged.trailing;
        } catch (const BvlError &e) {
            throw CliError(QStringLiteral("the merged setting file cannot be written (%1); nothing was written")
                               .arg(QString::fromUtf8(e.what())));
        }
        // git hands the driver its own version to replace: the one output that is an input.
        if (git)
            WriteWholeFile(paths.at(1), bytes, {paths.at(0), paths.at(2)});
        else
            WriteWholeFile(parser.value(QStringLiteral("output")), bytes, paths);
        return ExitSuccess;
    }

private:
    // An input that is no setting file is bad usage here: git then leaves the file to the user.
    static LoadedSettingFile load(const QString &path)
    {
        try {
            return LoadSettingFile(path);
        } catch (const CliError &e) {
            throw CliError(e.message(), ExitBadUsage);
        }
    }

    static void printConflicts(const SettingFileMerge &merge, const SettingList &base, QTextStream &out)
    {
        for (const HeaderConflict &h : merge.headerConflicts())
            out << "conflict: header " << HeaderFieldName(h.field) << ": base \"" << OneLineText(h.base)
                << "\", ours \"" << OneLineText(h.ours) << "\", theirs \"" << OneLineText(h.theirs) << "\"\n";
        for (const SettingConflict &c : merge.conflicts()) {
            out << "conflict: " << c.name << " (" << Records(c) << "): " << What(c) << '\n';
            const std::optional<SettingStruct> before =
                c.base ? std::optional<SettingStruct>(base.at(c.base - 1)) : std::nullopt;
            for (RecordField field : c.fields)
                out << FieldLine(field, before, c) << '\n';
        }
    }
};

}   // namespace

std::unique_ptr<Command> MakeMergeSecCommand()
{
    return std::make_unique<MergeSecCommand>();
}
