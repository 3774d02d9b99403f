#include "InProcessCli.h"

#include "cli/RunCli.h"

#include <QTextStream>

#include <stdexcept>

QString RunCliOrThrow(const QStringList &arguments)
{
    QString out;
    QString errors;
    QTextStream outStream(&out);
    QTextStream errStream(&errors);
    const int status = RunCli(arguments, QString(), outStream, errStream);
    outStream.flush();
    errStream.flush();
    if (status != 0)
        throw std::runtime_error("brimvale-cli " + arguments.join(QLatin1Char(' ')).toStdString() + ": "
                                 + errors.toStdString());
    return out;
}
