#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// File names as the system stores them: bytes, usually UTF-8 but not always. Qt turns
// every byte sequence that is not UTF-8 into U+FFFD, after which the file can no longer
// be named. Here such a byte is kept as the lone surrogate U+DC80 + (byte - 0x80), which
// valid UTF-8 never produces, so the name goes back to the same bytes.

// The name as text; an invalid byte becomes its lone surrogate.
QString FileNameFromNative(const QByteArray &native);

// The bytes to hand to the system: UTF-8, with every lone surrogate U+DC80..U+DCFF
// turned back into its byte.
QByteArray NativeFileName(const QString &name);

// The program's arguments, each taken as FileNameFromNative takes a name. Called after
// the toolkit's application object has taken its own options out of argc and argv.
QStringList NativeArguments(int argc, const char *const *argv);
