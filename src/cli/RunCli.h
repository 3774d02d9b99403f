#pragma once
#include <QString>
#include <QStringList>
#include <QTextStream>

// brimvale-cli as a function: arguments without the program name, the program folder,
// the streams for standard output and standard error, and the per-user folder (none when
// empty). Returns the exit status.
int RunCli(const QStringList &arguments, const QString &programFolder, QTextStream &out, QTextStream &err,
           const QString &userFolder = QString());

inline const QString CliProgramName = QStringLiteral("brimvale-cli");
