#include "core/JsonTextScan.h"

#include "core/JsonFields.h"

#include <QVarLengthArray>
#include <QVector>

#include <algorithm>

namespace {

// Walks a JSON text that is known to be well formed; stops at the first problem. A profile
// of every setting is megabytes of JSON: the path of a place is only written out when a
// problem is found there, and string values are stepped over without being decoded.
class Scanner
{
public:
    explicit Scanner(const QByteArray &json) : m_json(json) {}

    JsonTextProblem run()
    {
        value();
        return m_found;
    }

private:
    // One step of the path to the place being scanned: a key, or an element's index.
    struct Step
    {
        QString key;
        int index = -1;
    };

    bool done() const { return !m_found.problem.isEmpty() || m_at >= m_json.size(); }
    char peek() const { return m_at < m_json.size() ? m_json.at(m_at) : '\0'; }

    void skipBlanks()
    {
        while (m_at < m_json.size() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++m_at;
    }

    QString path() const
    {
        QString text = QStringLiteral("$");
        for (const Step &step : m_path)
            text = step.index >= 0 ? ElementPath(text, step.index) : FieldPath(text, step.key);
        return text;
    }

    void report(const QString &problem)
    {
        if (m_found.problem.isEmpty())
            m_found = JsonTextProblem{path(), problem};
    }

    void value()
    {
        skipBlanks();
        switch (peek()) {
        case '{':
            object();
            return;
        case '[':
            array();
            return;
        case '"':
            // A NUL inside a text is the reader's to judge: a setting file stores texts with
            // their length and holds it, a SEEM string cannot.
            skipString();
            return;
        default:
            // A number, true, false or null: runs up to the next separator.
            while (m_at < m_json.size() && !QByteArrayView(",]} \t\r\n").contains(peek()))
                ++m_at;
            return;
        }
    }

    void object()
    {
        ++m_at; // '{'
        // Objects of a profile hold a handful of keys: a list beats a hash here.
        QVarLengthArray<QString, 8> keys;
        for (;;) {
            skipBlanks();
            if (done() || peek() == '}')
                break;
            const QString key = string();
            if (key.contains(QChar(0))) {
                report(QStringLiteral("a key contains a NUL character"));
                return;
            }
            m_path.append(Step{key, -1});
            if (std::find(keys.cbegin(), keys.cend(), key) != keys.cend()) {
                report(QStringLiteral("appears twice in its object"));
                return;
            }
            keys.append(key);
            skipBlanks();
            ++m_at; // ':'
            value();
            if (done())
                return;
            m_path.removeLast();
            skipBlanks();
            if (peek() == ',')
                ++m_at;
        }
        ++m_at; // '}'
    }

    void array()
    {
        ++m_at; // '['
        for (int index = 0;; ++index) {
            skipBlanks();
            if (done() || peek() == ']')
                break;
            m_path.append(Step{QString(), index});
            value();
            if (done())
                return;
            m_path.removeLast();
            skipBlanks();
            if (peek() == ',')
                ++m_at;
        }
        ++m_at; // ']'
    }

    // Steps over the string at m_at.
    void skipString()
    {
        ++m_at; // opening quote
        while (m_at < m_json.size() && peek() != '"')
            m_at += peek() == '\\' ? 2 : 1;
        ++m_at; // closing quote
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
    QVector<Step> m_path;
    JsonTextProblem m_found;
};

} // namespace

JsonTextProblem FindJsonTextProblem(const QByteArray &json)
{
    return Scanner(json).run();
}
