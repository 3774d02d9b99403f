#pragma once
#include <QByteArray>
#include <QString>

// What QJsonDocument lets pass in a JSON text: an object that holds one key twice keeps
// only the last (so {"settings":[...],"settings":[]} would quietly mean nothing), and a
// key may hold "\u0000", which no field name has. This scans the text of a document
// QJsonDocument accepted for both. A NUL inside a string value is left to the reader of
// the field: a setting file's texts hold any byte, a SEEM string's value cannot.
struct JsonTextProblem
{
    QString path;      // JSON path of the place, such as "$.settings[3].name"
    QString problem;   // empty when the text has neither
};

JsonTextProblem FindJsonTextProblem(const QByteArray &json);

// The character a one-letter JSON escape stands for: "\n" a line feed, and so on; the
// quote, the backslash and the slash stand for themselves.
char UnescapedJsonChar(char escape);
