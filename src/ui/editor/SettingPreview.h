#pragma once
#include "core/SettingTypes.h"

#include <QByteArray>
#include <QString>

struct AppContext;

// What the setting being edited reads from an image, for the setting dialog's preview:
// "Reference image: Medium (byte 0x10 = 01010101)".
struct PreviewLine
{
    QString text;
    bool warning = false;   // the setting cannot be read from the image
};

// imageLabel names the image ("Reference image"); setting is what the dialog's fields say.
PreviewLine PreviewOf(AppContext &ctx, const QString &imageLabel, const QByteArray &image,
                      const SettingStruct &setting);

// The line naming the settings that own bits this one owns too; empty when none does.
// editedRecord (1-based, 0 for a new setting) is the record being edited.
QString OverlapLine(AppContext &ctx, const SettingList &settings, const SettingStruct &setting, int editedRecord);
