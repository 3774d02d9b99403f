#pragma once
#include <QString>

class LangTable;

// The locale a language file names in its entry "Main.Locale" (such as "de"); empty when
// it names none.
QString LanguageLocale(const LangTable &table);

// Makes Qt's own texts (the standard buttons of message boxes, the file dialogs) follow
// the loaded language: installs Qt's translation for the language's locale from Qt's
// translations folder, in place of the one an earlier language installed. Without
// "Main.Locale", or without a translation of Qt for it, Qt's texts stay as built.
// True when a translation is installed.
bool UseQtTranslations(const LangTable &table);
