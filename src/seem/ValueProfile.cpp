#include "seem/ValueProfile.h"

#include "core/JsonFields.h"
#include "seem/OwnedBytes.h"
#include "seem/SettingLookup.h"
#include "seem/SettingValueText.h"
#include "seem/ValueJson.h"

#include <QJsonDocument>
#include <QBitArray>

namespace {

QJsonObject SettingJson(const SettingStruct &s, ByteStore &image, int &unreadable)
{
    const ValueText value = DecodeValueText(image, s);
    unreadable += value.unreadable;
    QJsonObject entry{
        {QStringLiteral("group"), NormalisedGroup(s.Group)},
        {QStringLiteral("name"), s.Name},
        {QStringLiteral("value"), ValueToJson(s, value)},
        {QStringLiteral("type"), SettingTypeName(s.Type)},
        {QStringLiteral("offset"), s.Offset},
        {QStringLiteral("bits"), OwnedBitsText(OwnedSpanOf(s))},
    };
    if (!value.decoded)
        entry.insert(QStringLiteral("reason"), value.reason);
    return entry;
}

// One entry of "settings": group (optional) and name say which setting, value says what
// to; the other keys are passed over. False for a null value.
bool EntryAssignment(const QJsonObject &entry, const QString &path, ValueAssignment &assignment)
{
    const QString name = RequireString(entry, QStringLiteral("name"), path);
    const QString group =
        entry.contains(QStringLiteral("group")) ? RequireString(entry, QStringLiteral("group"), path) : QString();
    const QJsonValue value = RequireField(entry, QStringLiteral("value"), path);
    if (value.isNull())
        return false;
    QString words;
    if (!ValueWordsFromJson(value, words))
        throw JsonInputError(ErrNo::TypeMismatch, FieldPath(path, QStringLiteral("value")),
                             QStringLiteral("expected a string, a whole number, true or false"));
    assignment = ValueAssignment{path, group.isEmpty() ? name : group + QLatin1Char('\\') + name, words};
    return true;
}

} // namespace

QByteArray ValueProfileJson(const QString &imageName, const QString &settingFileName, const SettingList &settings,
                            ByteStore &image, int *unreadable)
{
    QJsonArray entries;
    int unreadableCount = 0;
    for (const SettingStruct &s : settings)
        entries.append(SettingJson(s, image, unreadableCount));
    if (unreadable)
        *unreadable = unreadableCount;
    const QJsonObject json{
        {QStringLiteral("image"), imageName},
        {QStringLiteral("settingFile"), settingFileName},
        {QStringLiteral("settings"), entries},
    };
    return QJsonDocument(json).toJson(QJsonDocument::Indented);
}

QVector<ValueAssignment> ReadValueProfile(const QByteArray &json)
{
    const QJsonObject profile = ParseJsonObject(json);
    const QJsonArray entries = RequireArray(profile, QStringLiteral("settings"), QStringLiteral("$"));
    QVector<ValueAssignment> assignments;
    assignments.reserve(entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        const QString path = ElementPath(QStringLiteral("$.settings"), i);
        ValueAssignment assignment;
        if (EntryAssignment(RequireObject(entries.at(i), path), path, assignment))
            assignments.append(assignment);
    }
    return assignments;
}

QVector<ResolvedAssignment> ResolveAssignments(const QVector<ValueAssignment> &assignments,
                                               const SettingList &settings, ByteStore &current,
                                               QVector<AssignmentProblem> &problems)
{
    const qint64 imageSize = current.size();
    QVector<ResolvedAssignment> accepted;
    accepted.reserve(assignments.size());
    QBitArray assigned(settings.size());
    const SettingIndex lookup(settings);
    for (const ValueAssignment &a : assignments) {
        AssignmentProblem problem{AssignmentProblem::UnknownName, a.source, a.query, {}, {}};
        const SettingMatch match = lookup.find(a.query);
        if (match.result != SettingMatch::Found) {
            if (match.result == SettingMatch::Ambiguous) {
                problem.kind = AssignmentProblem::Ambiguous;
                problem.settings = match.indices;
            }
            problems << problem;
            continue;
        }
        const int index = match.index();
        const SettingStruct &setting = settings.at(index - 1);
        problem.settings = {index};
        if (assigned.testBit(index - 1)) {
            problem.kind = AssignmentProblem::Twice;
            problems << problem;
            continue;
        }
        assigned.setBit(index - 1);
        if (SpanInsideImage(OwnedSpanOf(setting), imageSize)) {
            const ValueText shown = DecodeValueText(current, setting);
            if (shown.decoded && shown.text == a.words) {
                accepted.append(ResolvedAssignment{index, {}, true});
                continue;
            }
        }
        const ParsedValue value = ParseValueText(setting, a.words);
        if (!value.accepted) {
            problem.kind = AssignmentProblem::Refused;
            problem.reason = value.reason;
            problems << problem;
            continue;
        }
        if (!SpanInsideImage(OwnedSpanOf(setting), imageSize)) {
            problem.kind = AssignmentProblem::OutsideImage;
            problems << problem;
            continue;
        }
        accepted.append(ResolvedAssignment{index, value});
    }
    return accepted;
}
