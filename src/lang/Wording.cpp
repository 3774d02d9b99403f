#include "lang/Wording.h"

#include "lang/BuiltinTexts.h"
#include "lang/LangTable.h"

namespace {

class BuiltinEnglish final : public Wording
{
public:
    QString text(const QString &key) override
    {
        QString value;
        return BuiltinTexts::English(key, value) ? value : key;
    }
    QString plural(const QString &keyBase, qint64 count) override
    {
        const QString form = count == 1 ? QStringLiteral(".one") : QStringLiteral(".other");
        QString value;
        if (!BuiltinTexts::English(keyBase + form, value) && !BuiltinTexts::English(keyBase + ".other", value))
            return keyBase;
        return value.replace(QStringLiteral("%1"), QString::number(count));
    }
};

}   // namespace

QString LangWording::text(const QString &key)
{
    return m_table.GetLangString(key);
}

QString LangWording::plural(const QString &keyBase, qint64 count)
{
    return m_table.GetPluralString(keyBase, count);
}

Wording &EnglishWording()
{
    static BuiltinEnglish english;
    return english;
}
