#include "ui/platform/QtPlatform.h"
#include "ui/AppContext.h"
#include "ui/main/bvlMain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);
    QApplication::setOrganizationName(ApplicationTitle);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/brimvale-edit.png")));

    QtPlatform platform;
    AppContext context(platform);
    bvlMain mainWindow(context);
    if (!mainWindow.Form_Load())
        return 0;
    mainWindow.show();
    return app.exec();
}
