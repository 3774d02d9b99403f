#include "core/SettingFileJson.h"

#include "core/CodePage.h"
#include "core/JsonFields.h"
#include "core/SettingFile.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <limits>

namespace {

constexpr qint64 Int16Min = std::numeric_limits<qint16>::min();
constexpr qint64 Int16Max = std::numeric_limits<qint16>::max();
constexpr qint64 Int32Min = std::numeric_limits<qint32>::min();
constexpr qint64 Int32Max = std::numeric_limits<qint32>::max();

// A piece of Values as a number when the number gives exactly that text back.
QJsonValue ValuePieceToJson(const QString &piece)
{
    bool isNumber = false;
    const int number = piece.toInt(&isNumber);
    if (isNumber && QString::number(number) == piece)
        return number;
    return piece;
}

QJsonArray PiecesToJson(const QString &joined, bool numbers)
{
    QJsonArray array;
    for (const QString &piece : SplitValues(joined))
        array.append(numbers ? ValuePieceToJson(piece) : QJsonValue(piece));
    return array;
}

QJsonObject HeaderToJson(const SettingFileHeader &h)
{
    return QJsonObject{
        {QStringLiteral("Magic"), h.Magic},
        {QStringLiteral("FileVersion"), h.FileVersion},
        {QStringLiteral("ProgramVersion"), h.ProgramVersion},
        {QStringLiteral("SEEMNr"), h.SEEMNr},
        {QStringLiteral("SEEMRec"), h.SEEMRec},
        {QStringLiteral("Phones"), h.Phones},
        {QStringLiteral("SettingCount"), h.SettingCount},
        {QStringLiteral("Author"), h.Author},
    };
}

QJsonObject SettingToJson(const SettingStruct &s)
{
    return QJsonObject{
        {QStringLiteral("Name"), s.Name},
        {QStringLiteral("Description"), s.Description},
        {QStringLiteral("Type"), s.Type},
        {QStringLiteral("UIIndex"), s.UIIndex},
        {QStringLiteral("Group"), s.Group},
        {QStringLiteral("Offset"), s.Offset},
        {QStringLiteral("MaxStringLength"), s.MaxStringLength},
        {QStringLiteral("BitMask"), s.BitMask},
        {QStringLiteral("ValueNames"), PiecesToJson(s.ValueNames, false)},
        {QStringLiteral("Values"), PiecesToJson(s.Values, true)},
    };
}

// A text of the header the record rules leave alone (magic, program version), which the
// setting file must hold: in the current code page, at most 65535 bytes. The texts a user
// writes are judged by those rules (seem/authoring/RecordRules.h) before anything is written.
QString RequireFileText(const QString &text, const QString &path)
{
    if (!CodePage::canEncode(text))
        throw JsonInputError(
            ErrNo::TypeMismatch, path,
            QStringLiteral("has a character %1 cannot hold").arg(CodePage::DisplayName(CodePage::Current())));
    if (text.size() > SettingFileFormat::MaxTextBytes)
        throw JsonInputError(ErrNo::Overflow, path,
                             QStringLiteral("is longer than %1 bytes").arg(SettingFileFormat::MaxTextBytes));
    return text;
}

QString PiecesFromJson(const QJsonObject &object, const QString &key, const QString &objectPath, bool numbers)
{
    const QString arrayPath = FieldPath(objectPath, key);
    const QJsonArray array = RequireArray(object, key, objectPath);
    QStringList pieces;
    for (int i = 0; i < array.size(); ++i) {
        const QJsonValue value = array.at(i);
        const QString path = ElementPath(arrayPath, i);
        QString piece;
        if (value.isString())
            piece = value.toString();
        else if (numbers && value.isDouble())
            piece = QString::number(RequireInteger(value, path, Int32Min, Int32Max));
        else
            throw JsonInputError(ErrNo::TypeMismatch, path,
                                 numbers ? QStringLiteral("expected a number or a string")
                                         : QStringLiteral("expected a string"));
        if (piece.contains(ValueSeparator))
            throw JsonInputError(ErrNo::TypeMismatch, path, QStringLiteral("contains the separator \u00a7"));
        pieces << piece;
    }
    return JoinValues(pieces);
}

SettingFileHeader HeaderFromJson(const QJsonObject &json, const QString &path)
{
    RefuseUnknownFields(json, HeaderToJson({}).keys(), path);
    SettingFileHeader h;
    h.Magic =
        RequireFileText(RequireString(json, QStringLiteral("Magic"), path), FieldPath(path, QStringLiteral("Magic")));
    if (h.Magic.size() != 3)
        throw JsonInputError(ErrNo::Overflow, FieldPath(path, QStringLiteral("Magic")),
                             QStringLiteral("must be 3 characters"));
    h.FileVersion = quint8(RequireInteger(json, QStringLiteral("FileVersion"), path, 0, 255));
    h.ProgramVersion = RequireFileText(RequireString(json, QStringLiteral("ProgramVersion"), path),
                                       FieldPath(path, QStringLiteral("ProgramVersion")));
    h.SEEMNr = qint16(RequireInteger(json, QStringLiteral("SEEMNr"), path, Int16Min, Int16Max));
    h.SEEMRec = qint16(RequireInteger(json, QStringLiteral("SEEMRec"), path, Int16Min, Int16Max));
    h.Phones = RequireString(json, QStringLiteral("Phones"), path);
    h.SettingCount = qint32(RequireInteger(json, QStringLiteral("SettingCount"), path, 1, Int32Max));
    h.Author = RequireString(json, QStringLiteral("Author"), path);
    return h;
}

SettingStruct SettingFromJson(const QJsonObject &json, const QString &path)
{
    RefuseUnknownFields(json, SettingToJson({}).keys(), path);
    SettingStruct s;
    s.Name = RequireString(json, QStringLiteral("Name"), path);
    s.Description = RequireString(json, QStringLiteral("Description"), path);
    s.Type = quint8(RequireInteger(json, QStringLiteral("Type"), path, 0, 255));
    s.UIIndex = qint32(RequireInteger(json, QStringLiteral("UIIndex"), path, Int32Min, Int32Max));
    s.Group = RequireString(json, QStringLiteral("Group"), path);
    s.Offset = qint32(RequireInteger(json, QStringLiteral("Offset"), path, Int32Min, Int32Max));
    s.MaxStringLength = qint32(RequireInteger(json, QStringLiteral("MaxStringLength"), path, Int32Min, Int32Max));
    s.BitMask = quint8(RequireInteger(json, QStringLiteral("BitMask"), path, 0, 255));
    s.ValueNames = PiecesFromJson(json, QStringLiteral("ValueNames"), path, false);
    s.Values = PiecesFromJson(json, QStringLiteral("Values"), path, true);
    return s;
}

}   // namespace

QJsonObject SettingFileToJson(const SettingFileHeader &header, const SettingList &settings, qint64 maxBytes)
{
    QJsonObject json{
        {QStringLiteral("format"), SettingFileJsonFormat},
        {QStringLiteral("header"), HeaderToJson(header)},
        {QStringLiteral("settings"), QJsonArray()},
    };
    // The indented text is counted as the records are made, without the whole text, so that
    // a file too large is refused early: an empty array is "[\n    ]", and each record
    // between its brackets is its own text (which ends in a line feed) indented by 8 more
    // spaces on each line, followed by ",\n" or, the last one, "\n".
    qint64 size = QJsonDocument(json).toJson(QJsonDocument::Indented).size() - 1;
    QJsonArray records;
    for (const SettingStruct &s : settings) {
        const QJsonObject record = SettingToJson(s);
        const QByteArray alone = QJsonDocument(record).toJson(QJsonDocument::Indented);
        size += alone.size() + 8 * alone.count('\n') + 1;
        if (size > maxBytes)
            throw BvlError(ErrNo::FileTooLarge,
                           QStringLiteral("its JSON would be more than the %1 bytes import reads").arg(maxBytes));
        records.append(record);
    }
    json.insert(QStringLiteral("settings"), records);
    return json;
}

void SettingFileFromJson(const QJsonObject &json, SettingFileHeader &header, SettingList &settings)
{
    const QString root = QStringLiteral("$");
    RefuseUnknownFields(json, {QStringLiteral("format"), QStringLiteral("header"), QStringLiteral("settings")}, root);
    if (RequireString(json, QStringLiteral("format"), root) != SettingFileJsonFormat)
        throw JsonInputError(ErrNo::TypeMismatch, FieldPath(root, QStringLiteral("format")),
                             QStringLiteral("expected \"%1\"").arg(SettingFileJsonFormat));
    const QString headerPath = FieldPath(root, QStringLiteral("header"));
    const SettingFileHeader h =
        HeaderFromJson(RequireObject(RequireField(json, QStringLiteral("header"), root), headerPath), headerPath);
    const QString settingsPath = FieldPath(root, QStringLiteral("settings"));
    const QJsonArray records = RequireArray(json, QStringLiteral("settings"), root);
    if (records.size() != h.SettingCount)
        throw JsonInputError(
            ErrNo::TypeMismatch, FieldPath(headerPath, QStringLiteral("SettingCount")),
            QStringLiteral("is %1, but there are %2 settings").arg(h.SettingCount).arg(records.size()));
    SettingList list;
    list.reserve(records.size());
    for (int i = 0; i < records.size(); ++i) {
        const QString path = ElementPath(settingsPath, i);
        list.append(SettingFromJson(RequireObject(records.at(i), path), path));
    }
    header = h;
    settings = list;
}
