#include "lang/LangTable.h"

#include "core/BvlError.h"
#include "lang/BuiltinTexts.h"

#include "core/CodePage.h"
#include "core/RegularFile.h"
#include "core/SearchFolders.h"
#include "platform/Platform.h"

#include <QFileInfo>
#include <QList>
#include <QLocale>

namespace {

const QString LanguageNameKey = QStringLiteral("Main.LangName");

// Keys are unique without regard to letter case.
QString foldKey(const QString &key)
{
    return key.toCaseFolded();
}

// The file's lines as raw bytes, without their line ends (LF or CR LF; the last line may
// lack one). Throws BvlError with the reason when the file cannot be read, is no regular
// file (a FIFO in the program folder must not hang the language list) or is far larger
// than a language file.
QList<QByteArray> readLines(const QString &path)
{
    const QByteArray content = ReadRegularFile(path, MaxLanguageFileBytes);
    QList<QByteArray> lines = content.split('\n');
    if (content.endsWith('\n'))
        lines.removeLast();   // the empty piece after the final line end is not a line
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

// A language file that begins with the UTF-8 byte order mark is UTF-8 text, so that any
// language can be written; every other one is Windows-1252.
enum class TextEncoding {
    Windows1252,
    Utf8
};

// The encoding of the file whose lines these are; takes the byte order mark off the first.
TextEncoding takeEncoding(QList<QByteArray> &lines)
{
    static const QByteArray ByteOrderMark("\xEF\xBB\xBF");
    if (lines.isEmpty() || !lines.first().startsWith(ByteOrderMark))
        return TextEncoding::Windows1252;
    lines.first().remove(0, ByteOrderMark.size());
    return TextEncoding::Utf8;
}

QString decodeText(QByteArrayView bytes, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? QString::fromUtf8(bytes) : CodePage::decode(bytes);
}

// Splits a line at its first "="; false for a line without one (a comment).
bool splitEntry(const QByteArray &line, TextEncoding encoding, QString &key, QString &value)
{
    const int eq = line.indexOf('=');
    if (eq < 0)
        return false;
    key = decodeText(line.left(eq), encoding);
    value = decodeText(line.mid(eq + 1), encoding);
    return true;
}

}   // namespace

namespace {

// Adds the file's entries to table; stops at the first failure, keeping what was added.
bool readEntries(const QString &path, QHash<QString, QString> &table, LangTable::LoadFailure *failure)
{
    QList<QByteArray> lines;
    try {
        lines = readLines(path);
    } catch (const BvlError &e) {
        if (failure)
            failure->readReason = QString::fromStdString(e.what());
        return false;
    }
    const TextEncoding encoding = takeEncoding(lines);

    QString key;
    QString value;
    for (int i = 0; i < lines.size(); ++i) {
        if (!splitEntry(lines.at(i), encoding, key, value))
            continue;
        const QString folded = foldKey(key);
        if (table.contains(folded)) {
            if (failure) {
                failure->repeatedKey = key;
                failure->line = i + 1;
            }
            return false;
        }
        table.insert(folded, value);
    }
    return true;
}

}   // namespace

bool LangTable::LoadLanguageFile(const QString &path)
{
    // Even a failed load leaves a (partial) table: lookups then report the missing keys.
    m_strings.clear();
    m_loaded = true;
    const QString file = LanguageFileOf(path);
    if (readEntries(file, m_strings, nullptr))
        return true;
    m_failedFile = file;
    return false;
}

QString LangTable::LanguageFileOf(const QString &preference) const
{
    const QString name = LanguagePreferenceOf(preference);
    if (!name.isEmpty()) {
        for (const QString &folder : SearchFolders(m_platform.userFolder(), m_platform.programFolder())) {
            const QString candidate = JoinPath(folder, name);
            if (QFileInfo(candidate).isFile())
                return candidate;
        }
    }
    // Never a name looked up in whatever the working folder is.
    return QFileInfo(preference).isAbsolute() ? preference : QString();
}

QString LangTable::LanguagePreferenceOf(const QString &path)
{
    return QFileInfo(path).fileName();
}

bool LangTable::ReplaceWithLanguageFile(const QString &path, LoadFailure *failure)
{
    QHash<QString, QString> fresh;
    if (!readEntries(path, fresh, failure)) {
        m_failedFile = path;
        return false;
    }
    m_strings.swap(fresh);
    m_loaded = true;
    return true;
}

void LangTable::UseBuiltinEnglish()
{
    m_strings = BuiltinTexts::AllEnglish();
    m_loaded = true;
}

bool LangTable::GetLanguageName(const QString &path, QString &name)
{
    return GetLanguageEntry(path, LanguageNameKey, name);
}

bool LangTable::GetLanguageEntry(const QString &path, const QString &wantedKey, QString &wantedValue)
{
    QList<QByteArray> lines;
    try {
        lines = readLines(path);
    } catch (const BvlError &) {
        return false;
    }
    const TextEncoding encoding = takeEncoding(lines);

    QString key;
    QString value;
    for (const QByteArray &line : lines) {
        if (splitEntry(line, encoding, key, value) && key == wantedKey) {
            wantedValue = value;
            return true;
        }
    }
    return false;
}

bool LangTable::Lookup(const QString &key, QString &value) const
{
    if (!m_loaded)
        return false;
    const auto it = m_strings.constFind(foldKey(key));
    if (it == m_strings.constEnd())
        return false;
    value = it.value();
    return true;
}

bool LangTable::LookupOrBuiltin(const QString &key, QString &value) const
{
    if (Lookup(key, value))
        return true;
    return !BuiltinTexts::IsFirstVersionKey(key) && BuiltinTexts::English(key, value);
}

QString LangTable::GetLangString(const QString &key)
{
    QString value;
    if (LookupOrBuiltin(key, value))
        return value;
    ShowMissing(key);
    return QStringLiteral("?");
}

void LangTable::ShowMissing(const QString &key)
{
    m_platform.messageBox(QStringLiteral("Missing language string: \"") + key + QLatin1Char('"'), MsgIcon::Critical,
                          MsgButtons::Ok);
}

namespace {

// How a language tells its count forms apart, after its locale's language.
enum class PluralRule {
    OneOther,       // 1 / everything else (English, German, Italian, Spanish...)
    ZeroOneOther,   // 0 and 1 / everything else (French, Brazilian Portuguese)
    EastSlavic,     // 1, 21, 31... / 2-4, 22-24... / everything else (Russian, Ukrainian)
    Polish,         // 1 / 2-4, 22-24... / everything else
    WestSlavic,     // 1 / 2-4 / everything else (Czech, Slovak)
};

PluralRule pluralRuleOf(const QString &locale)
{
    const QLocale named(locale);
    switch (named.language()) {
    case QLocale::French:
        return PluralRule::ZeroOneOther;
    case QLocale::Portuguese:
        // Brazilian Portuguese counts 0 as one, Portuguese of Portugal does not.
        return locale.contains(QLatin1String("BR"), Qt::CaseInsensitive) ? PluralRule::ZeroOneOther
                                                                         : PluralRule::OneOther;
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Belarusian:
        return PluralRule::EastSlavic;
    case QLocale::Polish:
        return PluralRule::Polish;
    case QLocale::Czech:
    case QLocale::Slovak:
        return PluralRule::WestSlavic;
    default:
        return PluralRule::OneOther;
    }
}

QString pluralForm(PluralRule rule, qint64 count)
{
    const qint64 n = count < 0 ? -count : count;
    const qint64 last = n % 10;
    const qint64 lastTwo = n % 100;
    const bool fewEnding = last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14);
    switch (rule) {
    case PluralRule::OneOther:
        return n == 1 ? QStringLiteral("one") : QStringLiteral("other");
    case PluralRule::ZeroOneOther:
        return n <= 1 ? QStringLiteral("one") : QStringLiteral("other");
    case PluralRule::EastSlavic:
        if (last == 1 && lastTwo != 11)
            return QStringLiteral("one");
        return fewEnding ? QStringLiteral("few") : QStringLiteral("many");
    case PluralRule::Polish:
        if (n == 1)
            return QStringLiteral("one");
        return fewEnding ? QStringLiteral("few") : QStringLiteral("many");
    case PluralRule::WestSlavic:
        if (n == 1)
            return QStringLiteral("one");
        return n >= 2 && n <= 4 ? QStringLiteral("few") : QStringLiteral("other");
    }
    return QStringLiteral("other");
}

}   // namespace

QString LangTable::GetPluralString(const QString &keyBase, qint64 count)
{
    QString locale;
    Lookup(QStringLiteral("Main.Locale"), locale);
    const QString formKey = keyBase + QLatin1Char('.') + pluralForm(pluralRuleOf(locale.trimmed()), count);
    const QString otherKey = keyBase + QStringLiteral(".other");
    // The language's own texts first: its "other" form reads better than English.
    QString text;
    if (!Lookup(formKey, text) && !Lookup(otherKey, text) && !BuiltinTexts::English(formKey, text)
        && !BuiltinTexts::English(otherKey, text)) {
        ShowMissing(formKey);
        return QStringLiteral("?");
    }
    return text.replace(QStringLiteral("%1"), QString::number(count));
}

QString WithoutMnemonic(const QString &caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;   // the marked character, or the second "&" of "&&"
        plain.append(caption.at(i));
    }
    return plain;
}
