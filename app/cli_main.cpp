#include "cli/RunCli.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(CliProgramName);
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Setting files are looked for in the per-user folder, then beside the executable, as
    // the windows look for them.
    return RunCli(QCoreApplication::arguments().mid(1), QCoreApplication::applicationDirPath(), out, err,
                  UserDataFolder());
}
