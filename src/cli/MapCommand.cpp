// map: which bytes of an image a setting file describes.
#include "cli/AuthoringInputs.h"
#include "cli/CommandRegistry.h"
#include "cli/Counted.h"
#include "cli/ExitStatus.h"
#include "cli/RecordCheck.h"
#include "core/Conversions.h"
#include "core/OffsetText.h"
#include "seem/authoring/BitCoverage.h"
#include "seem/authoring/DifferenceProposals.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString RangeText(const ByteRange &range)
{
    if (range.size == 1)
        return OffsetText(range.offset) + QStringLiteral(", 1 byte");
    return OffsetRangeText(range.offset, range.offset + range.size - 1) + QStringLiteral(", ")
           + Counted(range.size, QStringLiteral("byte"));
}

QString ByteHex(char byte)
{
    return QString::number(quint8(byte), 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

class MapCommand : public Command
{
public:
    QString name() const override { return QStringLiteral("map"); }
    QString summary() const override
    {
        return QStringLiteral("Show which bytes of a SEEM file a setting file describes.");
    }
    QString description() const override
    {
        return QStringLiteral(
            "Prints the coverage of IMAGE by the setting file (without --sec the automatic choice, else none): "
            "its size, the bytes with at least one bit a setting owns, and the bits owned by more than one "
            "setting; then the ranges of bytes no setting owns a bit of. With --against, also the bytes of the "
            "two images whose differing bits no setting owns: what a setting file does not explain yet.");
    }
    QList<PositionalArgument> arguments() const override
    {
        return {{QStringLiteral("IMAGE"), QStringLiteral("The SEEM file."), {}}};
    }
    QList<QCommandLineOption> options() const override
    {
        return {SecOption(), SecDirOption(), FormatOption(),
                QCommandLineOption(QStringLiteral("against"), QStringLiteral("A second image of the same record."),
                                   QStringLiteral("OTHER"))};
    }

    int execute(const QCommandLineParser &parser, CommandContext &context) override
    {
        const OutputFormat format = FormatOf(parser);
        const QString imagePath = parser.positionalArguments().at(0);
        const QByteArray image = ReadImageForCommand(imagePath);
        const bool against = parser.isSet(QStringLiteral("against"));
        const QString otherPath = parser.value(QStringLiteral("against"));
        const QByteArray other = against ? ReadImageForCommand(otherPath) : QByteArray();
        if (against)
            CheckSameRecordSize(imagePath, image, otherPath, other);
        const LoadedSettingFile file = SettingFileOrEmpty(imagePath, parser, context);
        WarnOtherRecord(file, against ? QStringList{imagePath, otherPath} : QStringList{imagePath}, context.err);

        const BitCoverage coverage(file.settings, image.size());
        const QVector<ByteRange> undescribed = UndescribedRanges(coverage);
        const QVector<UndescribedDifference> differences =
            against ? UndescribedDifferences(coverage, image, other) : QVector<UndescribedDifference>();

        if (format == OutputFormat::Json) {
            QJsonArray ranges;
            for (const ByteRange &r : undescribed)
                ranges.append(QJsonObject{{QStringLiteral("offset"), r.offset}, {QStringLiteral("size"), r.size}});
            QJsonObject json{{QStringLiteral("image"), QFileInfo(imagePath).fileName()},
                             {QStringLiteral("settingFile"), QFileInfo(file.path).fileName()},
                             {QStringLiteral("bytes"), coverage.size()},
                             {QStringLiteral("described"), coverage.describedBytes()},
                             {QStringLiteral("conflictBits"), coverage.conflictBits()},
                             {QStringLiteral("undescribed"), ranges}};
            if (against) {
                QJsonArray entries;
                for (const UndescribedDifference &d : differences)
                    entries.append(QJsonObject{{QStringLiteral("offset"), d.offset},
                                               {QStringLiteral("bits"), ValueToBitText(d.bits)},
                                               {QStringLiteral("a"), quint8(image.at(d.offset))},
                                               {QStringLiteral("b"), quint8(other.at(d.offset))}});
                json.insert(QStringLiteral("against"), QFileInfo(otherPath).fileName());
                json.insert(QStringLiteral("differences"), entries);
            }
            context.out << QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Indented));
            return ExitSuccess;
        }

        context.out << CoverageLine(coverage, CoverageLinePattern) << '\n';
        context.out << "Undescribed ranges: "
                    << (undescribed.isEmpty() ? QStringLiteral("none") : QString::number(undescribed.size())) << '\n';
        for (const ByteRange &r : undescribed)
            context.out << "  " << RangeText(r) << '\n';
        if (against) {
            context.out << "Undescribed differences against " << otherPath << ": "
                        << (differences.isEmpty() ? QStringLiteral("none") : QString::number(differences.size()))
                        << '\n';
            for (const UndescribedDifference &d : differences)
                context.out << "  " << OffsetText(d.offset) << "  bits " << ValueToBitText(d.bits) << "  "
                            << ByteHex(image.at(d.offset)) << " -> " << ByteHex(other.at(d.offset)) << '\n';
        }
        return ExitSuccess;
    }
};

}   // namespace

std::unique_ptr<Command> MakeMapCommand()
{
    return std::make_unique<MapCommand>();
}
