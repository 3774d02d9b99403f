#pragma once
#include <QByteArrayView>
#include <QString>

// JSON as RFC 8259 has it, and nothing more. QJsonDocument takes raw control characters in
// strings, unknown escapes ("C:\quotes" read as "C:quotes") and numbers such as "1." or
// ".5"; a value typed that way would land in an image as something else. Every JSON text
// read from a user's file is checked here first, in one pass without recursion (a bit of
// memory per level of nesting). Depth is the readers' to limit, as are numbers too large
// for a double. Escaped halves of surrogate pairs are JSON; the value's reader refuses them.

struct JsonSyntaxFault
{
    qsizetype offset = -1;   // the byte where the text stops being JSON; -1 when it is JSON
    QString reason;          // such as "unknown escape \q"
};

// The first fault of json. A UTF-8 byte order mark in front is passed over, as
// QJsonDocument does and RFC 8259 allows.
JsonSyntaxFault FindJsonSyntaxFault(QByteArrayView json);

// Whether bytes are UTF-8 as QJsonDocument takes it: no overlong form, no encoded
// surrogate, nothing past U+10FFFF.
bool IsUtf8(QByteArrayView bytes);

// Where a byte offset of a UTF-8 text lies for a person: line and column from 1, the
// column counted in characters (a tab is one), a byte order mark not counted.
struct TextPlace
{
    qsizetype line = 1;
    qsizetype column = 1;
};
TextPlace PlaceOfOffset(QByteArrayView text, qsizetype offset);
