#include "core/JsonTextScan.h"

#include "core/JsonFields.h"

#include <QSet>

namespace {

// Walks a JSON text that is known to be well formed; stops at the first problem.
class Scanner
{
public:
    explicit Scanner(const QByteArray &json) : m_json(json) {}

    JsonTextProblem run()
    {
        value(QStringLiteral("$"));
        return m_found;
    }

private:
    bool done() const { return !m_found.problem.isEmpty() || m_at >= m_json.size(); }
    char peek() const { return m_at < m_json.size() ? m_json.at(m_at) : '\0'; }

    void skipBlanks()
    {
        while (m_at < m_json.size() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++m_at;
    }

    void report(const QString &path, const QString &problem)
    {
        if (m_found.problem.isEmpty())
            m_found = JsonTextProblem{path, problem};
    }

    void value(const QString &path)
    {
        skipBlanks();
        switch (peek()) {
        case '{':
            object(path);
            return;
        case '[':
            array(path);
            return;
        case '"':
            // A NUL inside a text is the reader's to judge: a setting file stores texts with
            // their length and holds it, a SEEM string cannot.
            string();
            return;
        default:
            // A number, true, false or null: runs up to the next separator.
            while (m_at < m_json.size() && !QByteArrayView(",]} \t\r\n").contains(peek()))
                ++m_at;
            return;
        }
    }

    void object(const QString &path)
    {
        ++m_at; // '{'
        QSet<QString> keys;
        for (;;) {
            skipBlanks();
            if (done() || peek() == '}')
                break;
            const QString key = string();
            const QString keyPath = FieldPath(path, key);
            if (key.contains(QChar(0)))
                report(path, QStringLiteral("a key contains a NUL character"));
            else if (keys.contains(key))
                report(keyPath, QStringLiteral("appears twice in its object"));
            keys.insert(key);
            skipBlanks();
            ++m_at; // ':'
            value(keyPath);
            if (done())
                return;
            skipBlanks();
            if (peek() == ',')
                ++m_at;
        }
        ++m_at; // '}'
    }

    void array(const QString &path)
    {
        ++m_at; // '['
        for (int index = 0;; ++index) {
            skipBlanks();
            if (done() || peek() == ']')
                break;
            value(ElementPath(path, index));
            if (done())
                return;
            skipBlanks();
            if (peek() == ',')
                ++m_at;
        }
        ++m_at; // ']'
    }

    // The string at m_at with its escapes decoded, so that "\u00e9" and "é" are one key.
    QString string()
    {
        ++m_at; // opening quote
        QString text;
        qsizetype runStart = m_at;
        const auto endRun = [&] { text += QString::fromUtf8(m_json.constData() + runStart, m_at - runStart); };
        while (m_at < m_json.size() && peek() != '"') {
            if (peek() != '\\') {
                ++m_at;
                continue;
            }
            endRun();
            const char escaped = m_json.at(m_at + 1);
            m_at += 2;
            if (escaped == 'u') {
                text += QChar(char16_t(m_json.mid(m_at, 4).toUShort(nullptr, 16)));
                m_at += 4;
            } else {
                static const QByteArrayView from("bfnrt");
                static const char to[] = "\b\f\n\r\t";
                const qsizetype k = from.indexOf(escaped);
                text += QLatin1Char(k >= 0 ? to[k] : escaped);
            }
            runStart = m_at;
        }
        endRun();
        ++m_at; // closing quote
        return text;
    }

    const QByteArray &m_json;
    qsizetype m_at = 0;
    JsonTextProblem m_found;
};

} // namespace

JsonTextProblem FindJsonTextProblem(const QByteArray &json)
{
    return Scanner(json).run();
}
