#pragma once
#include <QString>
#include <QStringList>
#include <QTextStream>

// brimvale-cli as a function: arguments without the program name, the program folder,
// and the streams for standard output and standard error. Returns the exit status.
int RunCli(const QStringList &arguments, const QString &programFolder, QTextStream &out, QTextStream &err);

inline const QString CliProgramName = QStringLiteral("brimvale-cli");
