#include "cli/RunCli.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // A write past the file-size limit is to fail like any write error, with the file put
    // back and the reason told, not to kill the program in the middle of a save.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(CliProgramName);
    QTextStream out(stdout);
    QTextStream err(stderr);
    // Setting files are looked for in the per-user folder, then beside the executable, as
    // the windows look for them.
    return RunCli(QCoreApplication::arguments().mid(1), QCoreApplication::applicationDirPath(), out, err,
                  UserDataFolder());
}
