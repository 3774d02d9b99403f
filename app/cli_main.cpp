#include "cli/RunCli.h"
#include "core/FileNames.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QTextStream>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <csignal>
#include <cstdio>
#include <new>

int main(int argc, char *argv[])
{
    // A write past the file-size limit is to fail like any write error, with the file put
    // back and the reason told, not to kill the program in the middle of a save.
    std::signal(SIGXFSZ, SIG_IGN);
#ifdef __GLIBC__
    // The command runs once and ends: memory it frees is kept for what it allocates next
    // rather than handed back and taken again page by page (a profile of every setting
    // reads and frees megabytes at each step).
    mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
#endif
    try {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(CliProgramName);
        QTextStream out(stdout);
        QTextStream err(stderr);
        // Setting files are looked for in the per-user folder, then beside the executable, as
        // the windows look for them. The arguments keep file names that are not UTF-8, which
        // Qt's own list would spoil.
        return RunCli(NativeArguments(argc, argv).mid(1), QCoreApplication::applicationDirPath(), out, err,
                      UserDataFolder());
    } catch (const std::bad_alloc &) {
        std::fputs("brimvale-cli: not enough memory; nothing was written\n", stderr);
        return 1;
    }
}
