#include "cli/RunCli.h"
#include "core/FileNames.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <new>

int main(int argc, char *argv[])
{
    try {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(CliProgramName);
        QTextStream out(stdout);
        QTextStream err(stderr);
        // Setting files are looked for beside the executable, as the windows look for them.
        // The arguments keep file names that are not UTF-8, which Qt's own list would spoil.
        return RunCli(NativeArguments(argc, argv).mid(1), QCoreApplication::applicationDirPath(), out, err);
    } catch (const std::bad_alloc &) {
        std::fputs("brimvale-cli: not enough memory; nothing was written\n", stderr);
        return 1;
    }
}
