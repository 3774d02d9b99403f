#pragma once
#include <QString>

class LangTable;

// The entry of a language file that names its locale, such as "de".
inline const QString LanguageLocaleKey = QStringLiteral("Main.Locale");

// The locale a language file names in its entry "Main.Locale"; empty when it names none.
QString LanguageLocale(const LangTable &table);

// Makes Qt's own texts (the standard buttons of message boxes, the file dialogs) follow
// the loaded language: installs Qt's translation for the language's locale from Qt's
// translations folder, in place of the one an earlier language installed. Without
// "Main.Locale", or without a translation of Qt for it, Qt's texts stay as built.
// True when a translation is installed.
bool UseQtTranslations(const LangTable &table);
