#pragma once
#include <QHash>
#include <QString>

class Platform;

// A caption without its keyboard mnemonic: "&Open SEEM..." gives "Open SEEM...", "&&"
// gives "&". For a menu item's text that is also the title of what it opens.
QString WithoutMnemonic(const QString &caption);

// The program's string table: key -> text from the chosen language file, keys compared
// without regard to letter case. One per process, owned by AppContext.
class LangTable
{
public:
    explicit LangTable(Platform &platform) : m_platform(platform) {}

    // Replaces the table with the entries of the file (Windows-1252 text, or UTF-8 when it
    // begins with the UTF-8 byte order mark; lines ending in CR LF or LF; "key=value",
    // split at the first "=", nothing trimmed). False when the file cannot be read or holds
    // a key twice (ignoring case); the entries read before the failure stay. Shows nothing.
    // A preference names the file: a bare file name, or the full path earlier versions
    // stored, is looked for by its file name in the search folders (per-user, then the
    // program's), so that a moved or second installation loads its own file; a full path
    // whose name is in none of them is read where it is.
    bool LoadLanguageFile(const QString &path);

    // The file a language preference (a file name, or an earlier version's path) stands
    // for: the first file of that name in the search folders, else an absolute path
    // itself, else nothing.
    QString LanguageFileOf(const QString &preference) const;
    // What a language preference stores for the file at path: its file name.
    static QString LanguagePreferenceOf(const QString &path);

    // The file whose load failed last, as it was found; empty when none did.
    QString FailedFile() const { return m_failedFile; }

    // The built-in English texts in place of any language file: a start with none usable
    // goes on in them, without a message for each text.
    void UseBuiltinEnglish();

    // Why a language file did not load: the system's reason when it cannot be read, else
    // the key that the file holds twice and the line (from 1) of its second occurrence.
    struct LoadFailure
    {
        QString readReason;
        QString repeatedKey;
        int line = 0;
    };

    // All or nothing: reads the file into a table of its own and puts that in place of
    // this one only when the whole file has loaded. On failure this table stays as it was
    // (loaded or not) and failure, when given, says why. Shows nothing.
    bool ReplaceWithLanguageFile(const QString &path, LoadFailure *failure = nullptr);

    // The value of the first "Main.LangName" entry (exact case); false if none or unreadable.
    static bool GetLanguageName(const QString &path, QString &name);
    // The value of the first entry whose key is key (exact case); false if none or unreadable.
    static bool GetLanguageEntry(const QString &path, const QString &key, QString &value);

    // The text for key; with the key absent (or no table loaded) shows the missing-string
    // message and returns "?". A key added after the first version takes its built-in
    // English text instead, silently (BuiltinTexts).
    QString GetLangString(const QString &key);

    // Silent lookup: true and value set when the key is present.
    bool Lookup(const QString &key, QString &value) const;
    // Lookup, with the built-in English text for a missing key added after the first version.
    bool LookupOrBuiltin(const QString &key, QString &value) const;

    bool IsLoaded() const { return m_loaded; }

    // The missing-string message: "Missing language string: " + quoted key, error icon.
    void ShowMissing(const QString &key);

    // The text for a count: keyBase + "." + the plural form the language's rule gives for
    // count ("one", "few", "many" or "other"), with "%1" replaced by the count. The rule
    // comes from the language's "Main.Locale" entry; a form the file lacks falls back to
    // "other", then to the built-in English text.
    QString GetPluralString(const QString &keyBase, qint64 count);

private:
    Platform &m_platform;
    QHash<QString, QString> m_strings;   // keys folded to lower case
    bool m_loaded = false;
    QString m_failedFile;
};
