#include "ui/platform/QtPlatform.h"
#include "ui/AppContext.h"
#include "ui/StartArguments.h"
#include "ui/main/bvlMain.h"

#include <QApplication>
#include <QIcon>
#include <csignal>
#include <cstdio>

int main(int argc, char *argv[])
{
    // A write past the file-size limit is to fail like any write error, with the file put
    // back and the reason told, not to kill the program in the middle of a save.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setOrganizationName(ApplicationTitle);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/brimvale-edit.png")));

    const StartArguments arguments = ParseStartArguments(QApplication::arguments());
    if (arguments.exitStatus) {
        std::fputs(arguments.message.toLocal8Bit().constData(), *arguments.exitStatus == 0 ? stdout : stderr);
        return *arguments.exitStatus;
    }

    QtPlatform platform;
    AppContext context(platform);
    bvlMain mainWindow(context);
    if (!StartMainWindow(mainWindow, arguments))
        return 0;
    return app.exec();
}
