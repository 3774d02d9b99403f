#include "core/FileNames.h"
#include "ui/AppContext.h"
#include "ui/GuardedApplication.h"
#include "ui/LogoutQuestion.h"
#include "ui/StartArguments.h"
#include "ui/main/bvlMain.h"
#include "ui/platform/QtPlatform.h"

#include <QIcon>
#include <csignal>
#include <cstdio>
#include <new>

namespace {

int Answer(const StartArguments &arguments)
{
    std::fputs(arguments.message.toLocal8Bit().constData(), *arguments.exitStatus == 0 ? stdout : stderr);
    return *arguments.exitStatus;
}

int RunProgram(int argc, char *argv[])
{
    // A write past the file-size limit is to fail like any write error, with the file put
    // back and the reason told, not to kill the program in the middle of a save.
    std::signal(SIGXFSZ, SIG_IGN);
    // Help, the version and a refused command line need no window system: answered before
    // the application object exists, they work without a display (on a server, in a
    // package build). Only a toolkit option may make a refused line a good one.
    const QStringList native = NativeArguments(argc, argv);
    const StartArguments early = ParseStartArguments(native);
    if (early.exitStatus && (*early.exitStatus == 0 || !MayHoldToolkitOption(native)))
        return Answer(early);

    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setOrganizationName(ApplicationTitle);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/brimvale-edit.png")));

    // Read again without the toolkit's own options (-platform, -style...), which the
    // application object has taken out.
    const StartArguments arguments = ParseStartArguments(NativeArguments(argc, argv));
    if (arguments.exitStatus)
        return Answer(arguments);

    QtPlatform platform;
    AppContext context(platform);
    bvlMain mainWindow(context);
    new LogoutQuestion(app, mainWindow);   // owned by the window
    app.setOutOfMemoryReport([&context] {
        context.platform.messageBox(context.T(QStringLiteral("bvlMain.OutOfMemory_M")), MsgIcon::Critical,
                                    MsgButtons::Ok);
    });
    if (!StartMainWindow(mainWindow, arguments))
        return 0;
    return app.exec();
}

}   // namespace

int main(int argc, char *argv[])
{
    try {
        return RunProgram(argc, argv);
    } catch (const std::bad_alloc &) {
        std::fputs("brimvale-edit: not enough memory\n", stderr);
        return 1;
    }
}
