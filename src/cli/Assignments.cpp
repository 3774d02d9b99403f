#include "cli/Assignments.h"

#include "cli/Counted.h"
#include "cli/ExitStatus.h"
#include "cli/LongOutput.h"
#include "cli/RunCli.h"
#include "core/OffsetText.h"
#include "lang/Wording.h"
#include "seem/document/SeemDocument.h"
#include "seem/document/SettingLookup.h"
#include "seem/files/RecordingByteStore.h"
#include "seem/files/SaveNoticeTexts.h"
#include "seem/profiles/AssignmentProblemText.h"
#include "seem/values/OwnedBytes.h"
#include "seem/values/SettingValueParse.h"
#include "seem/values/SettingValueText.h"

#include <new>
#include <optional>

namespace {

struct Change
{
    int index = 0;
    ValueText before;
    ValueText after;
    ChangedBytes bytes;
};

void AppendHexByte(QString &text, quint8 value)
{
    static const char digits[] = "0123456789ABCDEF";
    text += QLatin1Char(digits[value >> 4]);
    text += QLatin1Char(digits[value & 0xF]);
}

// "byte 16 (0x10): 00 -> 01, ..." appended to text: a profile of every setting reports
// tens of thousands of these, so no string is made for each. A field of more bytes than
// are listed ends in "and 900 more bytes up to byte 1000 (0x3E8)".
void AppendBytesText(QString &text, const ChangedBytes &bytes)
{
    for (qsizetype i = 0; i < bytes.first.size(); ++i) {
        const ByteChange &b = bytes.first.at(i);
        if (i > 0)
            text += QLatin1String(", ");
        text += QLatin1String("byte ");
        AppendOffsetText(text, b.offset);
        text += QLatin1String(": ");
        AppendHexByte(text, b.before);
        text += QLatin1String(" -> ");
        AppendHexByte(text, b.after);
    }
    if (bytes.count > bytes.first.size()) {
        text += QStringLiteral(", and %1 up to byte ")
                    .arg(Counted(bytes.count - bytes.first.size(), QStringLiteral("more byte")));
        AppendOffsetText(text, bytes.lastOffset);
    }
}

// A long text is written straight to out after what piece holds: a field of megabytes is
// not copied into the piece.
void AppendWords(QString &text, QTextStream &out, const ValueText &value)
{
    if (value.decoded) {
        text += QLatin1Char('"');
        if (value.text.size() > OutputPieceChars) {
            out << text;
            text.resize(0);
            WriteLongText(out, value.text);
        } else {
            text += value.text;
        }
        text += QLatin1Char('"');
    } else {
        text += QLatin1Char('(');
        text += value.reason;
        text += QLatin1Char(')');
    }
}

// The tree goes on with a group's settings past a full page on "GROUP (2)", "GROUP (2) (2)":
// a name copied from there means the group itself.
QString WithoutContinuation(const QString &query)
{
    const qsizetype cut = query.lastIndexOf(QLatin1Char('\\'));
    qsizetype groupEnd = cut;
    const QLatin1String page(" (2)");
    while (groupEnd >= page.size() && QStringView(query).left(groupEnd).endsWith(page))
        groupEnd -= page.size();
    return groupEnd == cut ? query : query.left(groupEnd) + query.mid(cut);
}

// "did you mean" for the first few unknown names only: a profile of another phone's
// settings names thousands, and each suggestion is a look through the setting names.
class Suggestions
{
public:
    explicit Suggestions(const SettingList &settings) : m_settings(settings) {}

    // "; did you mean "A" or "B"?", or nothing.
    QString forUnknown(const QString &query)
    {
        if (m_asked++ >= MaxSuggested)
            return QString();
        if (!m_names)
            m_names.emplace(m_settings);
        return DidYouMeanSetting(*m_names, m_settings, WithoutContinuation(query));
    }

private:
    static constexpr int MaxSuggested = 20;
    const SettingList &m_settings;
    std::optional<NearestNames> m_names;   // made for the first unknown name
    int m_asked = 0;
};

// How a refusal of an assignment reads on standard error: as Apply values words it, an
// unknown name with the names it comes near.
QString ProblemText(const AssignmentProblem &p, const SettingList &settings, Suggestions &suggestions)
{
    const QString text = AssignmentProblemText(EnglishWording(), p, settings);
    return p.kind == AssignmentProblem::UnknownName ? text + suggestions.forUnknown(p.query) : text;
}

// "GROUP\NAME: "old" -> "new" (byte 16 (0x10): 00 -> 01, ...)", or "...: "old" (unchanged)".
void AppendChangeLine(QString &text, QTextStream &out, const SeemDocument &document, const Change &c)
{
    text += document.fullName(c.index);
    text += QLatin1String(": ");
    AppendWords(text, out, c.before);
    if (c.bytes.isEmpty()) {
        text += QLatin1String(" (unchanged)\n");
        return;
    }
    text += QLatin1String(" -> ");
    AppendWords(text, out, c.after);
    text += QLatin1String(" (");
    AppendBytesText(text, c.bytes);
    text += QLatin1String(")\n");
}

// The report of the changes, a line each, made and written a piece at a time: a profile
// of every setting reports megabytes.
void WriteReport(QTextStream &out, const SeemDocument &document, const QVector<Change> &changes, bool reportUnchanged)
{
    QString piece;
    piece.reserve(2 * OutputPieceChars);
    for (const Change &c : changes) {
        if (c.bytes.isEmpty() && !reportUnchanged)
            continue;
        AppendChangeLine(piece, out, document, c);
        if (piece.size() >= OutputPieceChars) {
            out << piece;
            piece.resize(0);   // its room stays for the next piece
        }
    }
    out << piece;
}

}   // namespace

int CarryOutAssignments(const QVector<Assignment> &assignments, const QString &imagePath,
                        const LoadedSettingFile &settingFile, AssignmentRun run, CommandContext &context)
{
    auto opened = std::make_unique<SeemFile>();
    OpenImage(*opened, imagePath, !run.dryRun, context.err);
    // The document the main window works on: its settings' names, its file and its save.
    SeemDocument document;
    document.load(std::move(opened), settingFile.path, settingFile.header, settingFile.settings);
    SeemFile &image = document.file();
    const SettingList &settings = document.settings();

    QVector<AssignmentProblem> refusals;
    const QVector<ResolvedAssignment> accepted = ResolveAssignments(assignments, settings, image, refusals);
    QStringList problems;
    Suggestions suggestions(settings);
    for (const AssignmentProblem &p : refusals)
        problems << ProblemText(p, settings, suggestions);

    // Everything is encoded on top of the file before a byte of it changes.
    PendingWrites pending(image);
    QVector<Change> changes;
    changes.reserve(accepted.size());
    int changed = 0;   // changes that write a byte
    for (const ResolvedAssignment &a : accepted) {
        const SettingStruct &setting = settings.at(a.index - 1);
        // What resolving read from the file still holds unless an earlier assignment wrote
        // into the setting's bytes.
        const OwnedSpan span = OwnedSpanOf(setting);
        Change change{a.index,
                      pending.holdsWriteIn(span.offset, span.size) ? DecodeValueText(pending, setting) : a.shown,
                      {},
                      {}};
        if (a.unchanged) {
            changes.append(change);
            continue;
        }
        RecordingByteStore recorder(pending);
        try {
            EncodeParsedValue(recorder, setting, a.value);
        } catch (const BvlError &e) {
            problems << QStringLiteral("%1: cannot be written (error %2)")
                            .arg(SettingLabel(settings, a.index), QString::number(e.number()));
            continue;
        }
        change.after = DecodeValueText(pending, setting);
        change.bytes = recorder.changes();
        changed += !change.bytes.isEmpty();
        changes.append(change);
    }

    if (!problems.isEmpty()) {
        for (const QString &problem : problems)
            context.err << CliProgramName << ": " << imagePath << ": " << problem << '\n';
        context.err << CliProgramName << ": " << imagePath << ": nothing was written\n";
        return ExitRefused;
    }

    // Each change is told once it is on the disk; a dry run tells what would change.
    if (run.dryRun) {
        WriteReport(context.out, document, changes, run.reportUnchanged);
        context.out.flush();   // the changes first, then the note, when both go to one terminal
        context.err << imagePath << ": dry run, nothing was written\n";
        return ExitSuccess;
    }
    // Once the bytes went in, nothing may unsay it: without memory for the report, the save
    // is told alone (its words made before the save).
    const QString unreported =
        QStringLiteral("%1: saved; the report could not be made (not enough memory)").arg(imagePath);
    const auto report = [&] {
        try {
            WriteReport(context.out, document, changes, run.reportUnchanged);
        } catch (const std::bad_alloc &) {
            changes = QVector<Change>();   // its room, for the words
            context.out.flush();
            context.err << CliProgramName << ": " << unreported << '\n';
        }
    };
    if (changed > 0) {
        try {
            document.saveBytes(pending);
        } catch (const SaveError &e) {
            if (e.saved())   // the bytes went in: what changed is told, and what went wrong
                report();
            throw CliError(SaveFailureText(EnglishWording(), e));
        } catch (const BvlError &e) {
            throw CliError(QStringLiteral("%1: %2").arg(imagePath, FileErrorText(e)));
        }
    }
    report();
    return ExitSuccess;
}
