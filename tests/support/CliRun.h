#pragma once
// brimvale-cli run in-process, with what it printed and returned.
#include "cli/RunCli.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

struct CliResult
{
    int status = -1;
    QString out;
    QString err;
};

inline CliResult RunCliCaptured(const QStringList &arguments, const QString &programFolder = QString(),
                                const QString &userFolder = QString())
{
    CliResult result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status = RunCli(arguments, programFolder, out, err, userFolder);
    out.flush();
    err.flush();
    return result;
}
