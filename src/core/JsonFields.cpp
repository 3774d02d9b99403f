#include "core/JsonFields.h"

#include "core/JsonTextScan.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

QJsonObject ParseJsonObject(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        throw JsonInputError(ErrNo::TypeMismatch, QStringLiteral("$"),
                             QStringLiteral("not JSON at byte %1: %2").arg(error.offset).arg(error.errorString()));
    if (!document.isObject())
        throw JsonInputError(ErrNo::TypeMismatch, QStringLiteral("$"), QStringLiteral("expected an object"));
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
        throw JsonInputError(ErrNo::Overflow, path, QStringLiteral("%1 is out of range %2..%3").arg(number, 0, 'f', 0).arg(min).arg(max));
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
