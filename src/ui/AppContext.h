#pragma once
#include "core/SettingTypes.h"
#include "lang/LangTable.h"
#include "platform/Platform.h"

// Program-wide state shared by the windows, handed to each window's constructor.
struct AppContext
{
    explicit AppContext(Platform &p) : platform(p), lang(p) {}

    Platform &platform;
    LangTable lang;

    // Set by the language dialog when it loaded the only language file by itself.
    bool LanguageAutoLoaded = false;

    // Hand-over between the setting editor and the setting dialog.
    SettingStruct CurrentSetting;
    bool CurrentSettingOK = false;

    // Shorthand for a language lookup.
    QString T(const QString &key) { return lang.GetLangString(key); }
    // A menu item's text as the title of the window or dialog it opens, without its mnemonic.
    QString Title(const QString &key) { return WithoutMnemonic(lang.GetLangString(key)); }
};
