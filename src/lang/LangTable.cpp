#include "lang/LangTable.h"

#include "core/BvlError.h"
#include "lang/BuiltinTexts.h"

#include "core/CodePage.h"
#include "core/RegularFile.h"
#include "platform/Platform.h"

#include <QList>

namespace {

const QString LanguageNameKey = QStringLiteral("Main.LangName");

// Keys are unique without regard to letter case.
QString foldKey(const QString &key)
{
    return key.toCaseFolded();
}

// The file's lines as raw bytes, without their line ends (LF or CR LF; the last line may
// lack one). False when the file cannot be read, is no regular file (a FIFO in the
// program folder must not hang the language list) or is far larger than a language file.
bool readLines(const QString &path, QList<QByteArray> &lines)
{
    QByteArray content;
    try {
        content = ReadRegularFile(path, MaxLanguageFileBytes);
    } catch (const BvlError &) {
        return false;
    }
    lines = content.split('\n');
    if (content.endsWith('\n'))
        lines.removeLast(); // the empty piece after the final line end is not a line
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return true;
}

// A language file that begins with the UTF-8 byte order mark is UTF-8 text, so that any
// language can be written; every other one is Windows-1252.
enum class TextEncoding { Windows1252, Utf8 };

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

}

bool LangTable::LoadLanguageFile(const QString &path)
{
    // Even a failed load leaves a (partial) table: lookups then report the missing keys.
    m_strings.clear();
    m_loaded = true;

    QList<QByteArray> lines;
    if (!readLines(path, lines))
        return false;
    const TextEncoding encoding = takeEncoding(lines);

    QString key;
    QString value;
    for (const QByteArray &line : lines) {
        if (!splitEntry(line, encoding, key, value))
            continue;
        const QString folded = foldKey(key);
        if (m_strings.contains(folded))
            return false;
        m_strings.insert(folded, value);
    }
    return true;
}

bool LangTable::GetLanguageName(const QString &path, QString &name)
{
    return GetLanguageEntry(path, LanguageNameKey, name);
}

bool LangTable::GetLanguageEntry(const QString &path, const QString &wantedKey, QString &wantedValue)
{
    QList<QByteArray> lines;
    if (!readLines(path, lines))
        return false;
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
    m_platform.messageBox(QStringLiteral("Missing language string: \"") + key + QLatin1Char('"'),
                          MsgIcon::Critical, MsgButtons::Ok);
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
