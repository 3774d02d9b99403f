#include "ui/language/QtTranslations.h"

#include "lang/LangTable.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {
// The translation installed for the current language; one at a time.
std::unique_ptr<QTranslator> &InstalledTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}
}   // namespace

QString LanguageLocale(const LangTable &table)
{
    QString locale;
    table.Lookup(LanguageLocaleKey, locale);
    return locale.trimmed();
}

bool UseQtTranslations(const LangTable &table)
{
    std::unique_ptr<QTranslator> &installed = InstalledTranslator();
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    const QString locale = LanguageLocale(table);
    if (locale.isEmpty())
        return false;
    auto translator = std::make_unique<QTranslator>();
    // "pt" finds qtbase_pt_BR.qm, "de" qtbase_de.qm: the locale's own forms are tried in turn.
    if (!translator->load(QLocale(locale), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}
