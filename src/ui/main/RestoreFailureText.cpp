#include "ui/main/RestoreFailureText.h"

#include "core/BvlError.h"
#include "core/OffsetText.h"
#include "seem/values/OwnedBytes.h"
#include "ui/AppContext.h"

QString RestoreFailureText(AppContext &ctx, const SettingStruct &setting, int error, qint64 fileSize)
{
    const OwnedSpan span = OwnedSpanOf(setting);
    QString reason;
    if (error == ErrNo::InputPastEnd && span.size == 1)
        reason = ctx.T(QStringLiteral("bvlMain.sByteBeyondFile_V"))
                     .arg(setting.Name, OffsetText(span.offset), QString::number(fileSize));
    else if (error == ErrNo::InputPastEnd && span.size > 1)
        reason = ctx.T(QStringLiteral("bvlMain.sBytesBeyondFile_V"))
                     .arg(setting.Name, OffsetRangeText(span.offset, span.end() - 1), QString::number(fileSize));
    else
        reason = ctx.T(QStringLiteral("bvlMain.sValueUnreadable_V")).arg(setting.Name);
    return ctx.T(QStringLiteral("bvlMain.sIncompatible_M")) + QStringLiteral("\n\n") + reason + QStringLiteral(" (ERR ")
           + QString::number(error) + QLatin1Char(')');
}
