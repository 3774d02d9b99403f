#pragma once
#include "core/SettingTypes.h"
#include "seem/files/ByteStore.h"
#include "seem/values/SettingState.h"

#include <QPair>
#include <QVector>

// A save writes the bytes of the settings the user changed, and settings that share those
// bytes change with them although nobody touched their controls: two settings over the
// same bits, an 8-bit number over the byte of check boxes, a string over another
// setting's byte.
//
// after is the image with the save's bytes in it (written, or pending on top of the
// file); written are the settings whose edits it holds. The result names, in setting
// order, every other setting that was restored, shares a byte with a written one and
// decodes from after to another state than its control was restored with, together
// with that state. A setting that no longer decodes is left out: its control keeps what
// it shows, and it is not written.
QVector<QPair<int, ControlState>> SettingsAlsoChanged(ByteStore &after, const SettingList &settings,
                                                      const QVector<int> &written, const SettingStates &restored);
