#pragma once
#include "core/SettingTypes.h"
#include "seem/values/SettingState.h"

#include <QString>

// A control's state in the words the window and the command line use for values
// ("on", "off", the list entry's name, the text), so that a review of changes reads
// like what the controls show. A list with no entry selected gives the empty text.
// The words for a check box's two states: the command line keeps "on" and "off", the
// windows take their language's.
struct CheckWords
{
    QString on;
    QString off;
};

QString ControlStateText(const SettingStruct &setting, const ControlState &state);
QString ControlStateText(const SettingStruct &setting, const ControlState &state, const CheckWords &words);

// A value in the command line's words (as DecodeValueText and ControlStateText give it)
// with a check box's state in words instead; any other value comes back as it is.
QString InCheckWords(const SettingStruct &setting, const QString &text, const CheckWords &words);
