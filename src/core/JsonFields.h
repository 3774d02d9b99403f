#pragma once
#include "core/BvlError.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Reading typed fields out of a JSON document, with every refusal naming the place of the
// problem as a JSON path ("$.settings[2].Offset"), so that a person can find it in the file.

// A refusal of JSON input: number 13 for a wrong form (not JSON, a missing field, a field
// of the wrong kind), 6 for a number out of range.
class JsonInputError : public BvlError
{
public:
    JsonInputError(int number, const QString &path, const QString &problem)
        : BvlError(number, path + QStringLiteral(": ") + problem), m_path(path), m_problem(problem)
    {}
    const QString &path() const { return m_path; }
    const QString &problem() const { return m_problem; }

private:
    QString m_path;
    QString m_problem;
};

// Refuses a text that is not JSON (JsonSyntax.h) at "$" as "not JSON at line 3, column
// 14: unknown escape \q", before any reader sees it.
void RequireJsonSyntax(const QByteArray &json);

// The top-level object of a JSON text; refuses what is not JSON, or what QJsonDocument
// cannot hold (nesting too deep), with the line and column of the fault, and a key that
// appears twice in one object or a key with a NUL character with its JSON path. String
// values may hold NUL ("\u0000"); each field's reader decides.
QJsonObject ParseJsonObject(const QByteArray &json);

QString FieldPath(const QString &objectPath, const QString &key);
QString ElementPath(const QString &arrayPath, int index);

// The field key of object, which must be there and be of the kind asked for.
QJsonValue RequireField(const QJsonObject &object, const QString &key, const QString &objectPath);
QString RequireString(const QJsonObject &object, const QString &key, const QString &objectPath);
QJsonArray RequireArray(const QJsonObject &object, const QString &key, const QString &objectPath);
QJsonObject RequireObject(const QJsonValue &value, const QString &path);
// A whole number from min to max.
qint64 RequireInteger(const QJsonObject &object, const QString &key, const QString &objectPath, qint64 min, qint64 max);
qint64 RequireInteger(const QJsonValue &value, const QString &path, qint64 min, qint64 max);

// Refuses every key of object that is not in known, so that a misspelt field is not
// silently passed over.
void RefuseUnknownFields(const QJsonObject &object, const QStringList &known, const QString &objectPath);
