#include "cli/Assignments.h"

#include "cli/ExitStatus.h"
#include "cli/RunCli.h"
#include "seem/OwnedBytes.h"
#include "seem/RecordingByteStore.h"
#include "seem/SeemFile.h"
#include "seem/SettingLookup.h"
#include "seem/SettingValueParse.h"
#include "seem/SettingValueText.h"

#include <QSet>

namespace {

struct Accepted
{
    int index = 0;
    ParsedValue value;
};

struct Change
{
    int index = 0;
    ValueText before;
    ValueText after;
    QVector<ByteChange> bytes;
};

QString Words(const ValueText &value)
{
    return value.decoded ? QLatin1Char('"') + value.text + QLatin1Char('"') : QStringLiteral("(%1)").arg(value.reason);
}

QString HexByte(quint8 value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

QString BytesText(const QVector<ByteChange> &bytes)
{
    QStringList parts;
    for (const ByteChange &b : bytes)
        parts << QStringLiteral("byte %1: %2 -> %3").arg(b.offset).arg(HexByte(b.before), HexByte(b.after));
    return parts.join(QStringLiteral(", "));
}

// Looks every assignment up and parses its value; refusals go into problems.
QVector<Accepted> Resolve(const QVector<Assignment> &assignments, const SettingList &settings, qint64 imageSize,
                          QStringList &problems)
{
    QVector<Accepted> accepted;
    QSet<int> assigned;
    const SettingIndex lookup(settings);
    for (const Assignment &a : assignments) {
        const SettingMatch match = lookup.find(a.query);
        if (match.result == SettingMatch::Unknown) {
            problems << QStringLiteral("%1: no setting is named '%2'").arg(a.source, a.query);
            continue;
        }
        if (match.result == SettingMatch::Ambiguous) {
            QStringList candidates;
            for (int index : match.indices)
                candidates << SettingLabel(settings, index);
            problems << QStringLiteral("%1: '%2' names %3; write GROUP\\NAME")
                            .arg(a.source, a.query, candidates.join(QStringLiteral(", ")));
            continue;
        }
        const int index = match.index();
        const SettingStruct &setting = settings.at(index - 1);
        const QString label = SettingLabel(settings, index);
        if (assigned.contains(index)) {
            problems << QStringLiteral("%1: %2 is assigned twice").arg(a.source, label);
            continue;
        }
        assigned.insert(index);
        const ParsedValue value = ParseValueText(setting, a.words);
        if (!value.accepted) {
            problems << QStringLiteral("%1: %2: %3").arg(a.source, label, value.reason);
            continue;
        }
        if (!SpanInsideImage(OwnedSpanOf(setting), imageSize)) {
            problems << QStringLiteral("%1: %2: its bytes lie outside the image of %3 bytes").arg(a.source, label).arg(imageSize);
            continue;
        }
        accepted.append(Accepted{index, value});
    }
    return accepted;
}

} // namespace

int CarryOutAssignments(const QVector<Assignment> &assignments, const QString &imagePath,
                        const LoadedSettingFile &settingFile, AssignmentRun run, CommandContext &context)
{
    SeemFile image;
    OpenImage(image, imagePath, !run.dryRun);
    const SettingList &settings = settingFile.settings;

    QStringList problems;
    const QVector<Accepted> accepted = Resolve(assignments, settings, image.size(), problems);

    // Everything is encoded on top of the file before a byte of it changes.
    PendingWrites pending(image);
    QVector<Change> changes;
    for (const Accepted &a : accepted) {
        const SettingStruct &setting = settings.at(a.index - 1);
        Change change{a.index, DecodeValueText(pending, setting), {}, {}};
        RecordingByteStore recorder(pending);
        try {
            EncodeParsedValue(recorder, setting, a.value);
        } catch (const BvlError &e) {
            problems << QStringLiteral("%1: cannot be written (error %2)").arg(SettingLabel(settings, a.index)).arg(e.number());
            continue;
        }
        change.after = DecodeValueText(pending, setting);
        change.bytes = recorder.changes();
        changes.append(change);
    }

    if (!problems.isEmpty()) {
        for (const QString &problem : problems)
            context.err << CliProgramName << ": " << imagePath << ": " << problem << '\n';
        context.err << CliProgramName << ": " << imagePath << ": nothing was written\n";
        return ExitRefused;
    }

    int changed = 0;
    for (const Change &c : changes) {
        const QString label = SettingPathOf(settings.at(c.index - 1));
        if (c.bytes.isEmpty()) {
            if (run.reportUnchanged)
                context.out << label << ": " << Words(c.before) << " (unchanged)\n";
            continue;
        }
        ++changed;
        context.out << label << ": " << Words(c.before) << " -> " << Words(c.after) << " (" << BytesText(c.bytes) << ")\n";
    }
    if (run.dryRun) {
        context.out.flush();   // the changes first, then the note, when both go to one terminal
        context.err << imagePath << ": dry run, nothing was written\n";
        return ExitSuccess;
    }
    if (changed > 0) {
        try {
            image.checkWritable();
            pending.commit();
            image.flush();
        } catch (const BvlError &e) {
            throw CliError(QStringLiteral("%1: %2").arg(imagePath, FileErrorText(e)));
        }
    }
    return ExitSuccess;
}
