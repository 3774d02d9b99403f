#include "seem/profiles/ValueProfile.h"

#include "core/JsonFields.h"
#include "seem/document/SettingLookup.h"
#include "seem/profiles/PlainProfile.h"
#include "seem/profiles/ValueJson.h"
#include "seem/values/OwnedBytes.h"
#include "seem/values/SettingValueText.h"

#include <QBitArray>
#include <QJsonDocument>

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
// to; the other keys are passed over. False for a null value. The entry's path is made only
// for a refusal: a profile of every setting has tens of thousands of entries.
bool EntryAssignment(const QJsonObject &entry, int element, ValueAssignment &assignment)
{
    const auto path = [element] { return ElementPath(QStringLiteral("$.settings"), element); };
    const QJsonValue name = entry.value(QLatin1String("name"));
    if (!name.isString())
        RequireString(entry, QStringLiteral("name"), path());   // throws, naming the place
    const QJsonValue group = entry.value(QLatin1String("group"));
    if (!group.isString() && !group.isUndefined())
        RequireString(entry, QStringLiteral("group"), path());
    const QJsonValue value = entry.value(QLatin1String("value"));
    if (value.isUndefined())
        RequireField(entry, QStringLiteral("value"), path());
    if (value.isNull())
        return false;
    QString words;
    if (!ValueWordsFromJson(value, words))
        throw JsonInputError(ErrNo::TypeMismatch, FieldPath(path(), QStringLiteral("value")),
                             QStringLiteral("expected a string, a whole number, true or false"));
    assignment = ValueAssignment{QString(), ProfileQuery(group.toString(), name.toString()), words, element};
    return true;
}

}   // namespace

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

QString ProfileQuery(const QString &group, const QString &name)
{
    if (group.isEmpty())
        return name;
    QString query;
    query.reserve(group.size() + 1 + name.size());
    query += group;
    query += QLatin1Char('\\');
    query += name;
    return query;
}

QVector<ValueAssignment> ReadValueProfile(const QByteArray &json)
{
    // Refused before either reader: the document would take "C:\quotes" as "C:quotes".
    RequireJsonSyntax(json);
    if (std::optional<QVector<ValueAssignment>> plain = ReadPlainProfile(json))
        return std::move(*plain);
    return ReadValueProfileDocument(json);
}

QVector<ValueAssignment> ReadValueProfileDocument(const QByteArray &json)
{
    const QJsonObject profile = ParseJsonObject(json);
    const QJsonArray entries = RequireArray(profile, QStringLiteral("settings"), QStringLiteral("$"));
    QVector<ValueAssignment> assignments;
    assignments.reserve(entries.size());
    int element = 0;
    for (const QJsonValue &entry : entries) {
        if (!entry.isObject())
            RequireObject(entry, ElementPath(QStringLiteral("$.settings"), element));
        ValueAssignment assignment;
        if (EntryAssignment(entry.toObject(), element, assignment))
            assignments.append(std::move(assignment));
        ++element;
    }
    return assignments;
}

QString AssignmentSource(const ValueAssignment &assignment)
{
    return assignment.element < 0 ? assignment.source : ElementPath(QStringLiteral("$.settings"), assignment.element);
}

QVector<ResolvedAssignment> ResolveAssignments(const QVector<ValueAssignment> &assignments, const SettingList &settings,
                                               ByteStore &current, QVector<AssignmentProblem> &problems)
{
    const qint64 imageSize = current.size();
    QVector<ResolvedAssignment> accepted;
    accepted.reserve(assignments.size());
    QBitArray assigned(settings.size());
    const SettingIndex lookup(settings);
    for (const ValueAssignment &a : assignments) {
        // A refusal is written out only when there is one: most profiles have none.
        const auto refuse = [&](AssignmentProblem::Kind kind, const QVector<int> &indices, const QString &reason) {
            problems << AssignmentProblem{kind, AssignmentSource(a), a.query, indices, reason};
        };
        const SettingMatch match = lookup.find(a.query);
        if (match.result == SettingMatch::Unknown) {
            refuse(AssignmentProblem::UnknownName, {}, QString());
            continue;
        }
        if (match.result == SettingMatch::Ambiguous) {
            refuse(AssignmentProblem::Ambiguous, match.indices, QString());
            problems.last().candidates = match.count;
            continue;
        }
        const int index = match.index();
        const SettingStruct &setting = settings.at(index - 1);
        if (assigned.testBit(index - 1)) {
            refuse(AssignmentProblem::Twice, {index}, QString());
            continue;
        }
        assigned.setBit(index - 1);
        const bool inside = SpanInsideImage(OwnedSpanOf(setting), imageSize);
        ValueText shown;
        if (inside) {
            shown = DecodeValueText(current, setting);
            if (shown.decoded && shown.text == a.words) {
                accepted.append(ResolvedAssignment{index, {}, true, std::move(shown)});
                continue;
            }
        }
        ParsedValue value = ParseValueText(setting, a.words);
        if (!value.accepted) {
            refuse(AssignmentProblem::Refused, {index}, value.reason);
            continue;
        }
        if (!inside) {
            refuse(AssignmentProblem::OutsideImage, {index}, QString());
            continue;
        }
        accepted.append(ResolvedAssignment{index, std::move(value), false, std::move(shown)});
    }
    return accepted;
}
