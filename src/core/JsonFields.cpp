#include "core/JsonFields.h"

#include "core/JsonSyntax.h"
#include "core/JsonTextScan.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

namespace {

[[noreturn]] void RefuseNotJson(const QByteArray &json, qsizetype offset, const QString &reason)
{
    const TextPlace place = PlaceOfOffset(json, offset);
    throw JsonInputError(
        ErrNo::TypeMismatch, QStringLiteral("$"),
        QStringLiteral("not JSON at line %1, column %2: %3").arg(place.line).arg(place.column).arg(reason));
}

}   // namespace

void RequireJsonSyntax(const QByteArray &json)
{
    const JsonSyntaxFault fault = FindJsonSyntaxFault(json);
    if (fault.offset >= 0)
        RefuseNotJson(json, fault.offset, fault.reason);
}

QJsonObject ParseJsonObject(const QByteArray &json)
{
    RequireJsonSyntax(json);
    // QJsonDocument calls a lone number or string in the text not JSON.
    QByteArrayView text(json);
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    if (!text.trimmed().startsWith('{'))
        throw JsonInputError(ErrNo::TypeMismatch, QStringLiteral("$"), QStringLiteral("expected an object"));
    // What is JSON may still be refused here: nesting too deep, a number beyond a double.
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        RefuseNotJson(json, error.offset, error.errorString());
    // The document keeps only the last of two equal keys, and lets NUL characters in keys through.
    const JsonTextProblem problem = FindJsonTextProblem(json);
    if (!problem.problem.isEmpty())
        throw JsonInputError(ErrNo::TypeMismatch, problem.path, problem.problem);
    return document.object();
}

QString FieldPath(const QString &objectPath, const QString &key)
{
    return objectPath + QLatin1Char('.') + key;
}

QString ElementPath(const QString &arrayPath, int index)
{
    return arrayPath + QStringLiteral("[%1]").arg(index);
}

QJsonValue RequireField(const QJsonObject &object, const QString &key, const QString &objectPath)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd())
        throw JsonInputError(ErrNo::TypeMismatch, FieldPath(objectPath, key), QStringLiteral("missing"));
    return it.value();
}

QString RequireString(const QJsonObject &object, const QString &key, const QString &objectPath)
{
    const QJsonValue value = RequireField(object, key, objectPath);
    if (!value.isString())
        throw JsonInputError(ErrNo::TypeMismatch, FieldPath(objectPath, key), QStringLiteral("expected a string"));
    return value.toString();
}

QJsonArray RequireArray(const QJsonObject &object, const QString &key, const QString &objectPath)
{
    const QJsonValue value = RequireField(object, key, objectPath);
    if (!value.isArray())
        throw JsonInputError(ErrNo::TypeMismatch, FieldPath(objectPath, key), QStringLiteral("expected an array"));
    return value.toArray();
}

QJsonObject RequireObject(const QJsonValue &value, const QString &path)
{
    if (!value.isObject())
        throw JsonInputError(ErrNo::TypeMismatch, path, QStringLiteral("expected an object"));
    return value.toObject();
}

qint64 RequireInteger(const QJsonValue &value, const QString &path, qint64 min, qint64 max)
{
    const double number = value.toDouble();
    if (!value.isDouble() || std::floor(number) != number)
        throw JsonInputError(ErrNo::TypeMismatch, path, QStringLiteral("expected a whole number"));
    if (number < double(min) || number > double(max))
        throw JsonInputError(ErrNo::Overflow, path,
                             QStringLiteral("%1 is out of range %2..%3").arg(number, 0, 'f', 0).arg(min).arg(max));
    return qint64(number);
}

qint64 RequireInteger(const QJsonObject &object, const QString &key, const QString &objectPath, qint64 min, qint64 max)
{
    return RequireInteger(RequireField(object, key, objectPath), FieldPath(objectPath, key), min, max);
}

void RefuseUnknownFields(const QJsonObject &object, const QStringList &known, const QString &objectPath)
{
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        if (!known.contains(it.key()))
            throw JsonInputError(ErrNo::TypeMismatch, FieldPath(objectPath, it.key()), QStringLiteral("unknown field"));
}
