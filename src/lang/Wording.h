#pragma once
#include <QString>

class LangTable;

// Where the words of a result come from: the windows take the user's language, the
// command line the shipped English texts. Code that words a result for both doors
// takes a Wording, so each text is written once, in the language files.
class Wording
{
public:
    virtual ~Wording() = default;
    // The text of key.
    virtual QString text(const QString &key) = 0;
    // The text for a count, "%1" replaced by the count (LangTable::GetPluralString).
    virtual QString plural(const QString &keyBase, qint64 count) = 0;
};

// The user's language, as the windows look texts up.
class LangWording final : public Wording
{
public:
    explicit LangWording(LangTable &table) : m_table(table) {}
    QString text(const QString &key) override;
    QString plural(const QString &keyBase, qint64 count) override;

private:
    LangTable &m_table;
};

// The shipped English texts, built into the program; a key they lack reads as the key.
Wording &EnglishWording();
