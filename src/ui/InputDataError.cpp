#include "ui/InputDataError.h"

#include "ui/AppContext.h"

void ShowInputDataError(AppContext &ctx, int number)
{
    ctx.platform.messageBox(ctx.T(QStringLiteral("bvlEditSetting.wssInputDataError_M")) + QStringLiteral(" (ERR ")
                                + QString::number(number) + QLatin1Char(')'),
                            MsgIcon::Warning, MsgButtons::Ok);
}
