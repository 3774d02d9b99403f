// list: every setting file the automatic choice can take, per-user files first.
#include "cli/CommandRegistry.h"
#include "cli/Counted.h"
#include "cli/Inputs.h"
#include "cli/TextTable.h"
#include "core/Conversions.h"
#include "seem/authoring/SettingFileCatalogue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString CheckText(const CatalogueEntry &e)
{
    if (!e.readable())
        return QStringLiteral("unreadable: ") + FileErrorText(BvlError(e.readError));
    if (e.errors > 0)
        return Counted(e.errors, QStringLiteral("error"));
    if (e.warnings > 0)
        return Counted(e.warnings, QStringLiteral("warning"));
    return QStringLiteral("ok");
}

void PrintText(const QVector<CatalogueEntry> &entries, QTextStream &out)
{
    TextTable table;
    table.addRow({QStringLiteral("FILE"), QStringLiteral("FOLDER"), QStringLiteral("SEEM"), QStringLiteral("RECORD"),
                  QStringLiteral("PHONES"), QStringLiteral("AUTHOR"), QStringLiteral("SETTINGS"),
                  QStringLiteral("CHECK")});
    const QString none(QLatin1Char('-'));
    for (const CatalogueEntry &e : entries) {
        if (!e.readable()) {
            table.addRow({CellText(e.fileName), FolderWord(e.folder), none, none, none, none, none, CheckText(e)});
            continue;
        }
        table.addRow({CellText(e.fileName), FolderWord(e.folder), HexText16(e.header.SEEMNr),
                      HexText16(e.header.SEEMRec), CellText(e.header.Phones), CellText(e.header.Author),
                      QString::number(e.settingCount), CheckText(e)});
    }
    table.print(out);
}

QJsonObject EntryJson(const CatalogueEntry &e)
{
    QJsonObject json{{QStringLiteral("file"), e.fileName},
                     {QStringLiteral("folder"), FolderWord(e.folder)},
                     {QStringLiteral("path"), e.path}};
    if (!e.readable()) {
        json.insert(QStringLiteral("reason"), FileErrorText(BvlError(e.readError)));
        return json;
    }
    json.insert(QStringLiteral("seem"), HexText16(e.header.SEEMNr));
    json.insert(QStringLiteral("record"), HexText16(e.header.SEEMRec));
    json.insert(QStringLiteral("phones"), e.header.Phones);
    json.insert(QStringLiteral("author"), e.header.Author);
    json.insert(QStringLiteral("settings"), e.settingCount);
    json.insert(QStringLiteral("errors"), e.errors);
    json.insert(QStringLiteral("warnings"), e.warnings);
    return json;
}

class ListCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("list"); }
    QString summary() const override { return QStringLiteral("List the setting files the automatic choice looks at."); }
    QString description() const override
    {
        return QStringLiteral(
            "Lists the setting files of the per-user folder and then of the program folder, by name within "
            "each, character by character with capitals before small letters (B.sec, a.sec, b.sec), in the "
            "order the automatic choice reads them: file, folder (per-user or shipped), SEEM "
            "number and record in hexadecimal, phones, author, number of settings, and what check finds (ok, "
            "the number of errors or of warnings). The first file listed for a SEEM and record is the one "
            "chosen.");
    }
    QList<PositionalArgument> arguments() const override { return {}; }
    QList<QCommandLineOption> options() const override { return {FormatOption()}; }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        const OutputFormat format = FormatOf(parser);
        const QVector<CatalogueEntry> entries = ListSettingFiles(context.userFolder, context.programFolder);
        if (format == OutputFormat::Text) {
            PrintText(entries, context.out);
            return 0;
        }
        QJsonArray files;
        for (const CatalogueEntry &e : entries)
            files.append(EntryJson(e));
        context.out << QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("files"), files}}).toJson());
        return 0;
    }
};

}   // namespace

std::unique_ptr<Command> MakeListCommand()
{
    return std::make_unique<ListCommand>();
}
