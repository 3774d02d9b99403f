#include "ui/main/bvlMain.h"

#include "ui/AppContext.h"

bvlMain::bvlMain(AppContext &context, QWidget *parent) : QMainWindow(parent), m_ctx(context)
{
    setObjectName(QStringLiteral("bvlMain"));
    setWindowTitle(ApplicationTitle);
}

bool bvlMain::Form_Load()
{
    return true;
}
