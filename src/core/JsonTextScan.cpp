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
    // A key as it stands in the text: decoded only when it holds an escape or a byte
    // beyond ASCII (two spellings of one text), or for a path.
    struct Key
    {
        qsizetype begin = 0;    // after the opening quote
        qsizetype end = 0;      // at the closing quote
        bool escaped = false;   // not plain ASCII
    };

    // One step of the path to the place being scanned: a key, or an element's index.
    struct Step
    {
        Key key;
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
            text = step.index >= 0 ? ElementPath(text, step.index) : FieldPath(text, decoded(step.key));
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
        ++m_at;   // '{'
        // Objects of a profile hold a handful of keys: a list beats a hash here.
        QVarLengthArray<Key, 8> keys;
        for (;;) {
            skipBlanks();
            if (done() || peek() == '}')
                break;
            const Key key = stepOverKey();
            // Only an escape can put a NUL into a key: the text holds no control character.
            if (key.escaped && decoded(key).contains(QChar(0))) {
                report(QStringLiteral("a key contains a NUL character"));
                return;
            }
            m_path.append(Step{key, -1});
            if (std::any_of(keys.cbegin(), keys.cend(), [&](const Key &other) { return same(other, key); })) {
                report(QStringLiteral("appears twice in its object"));
                return;
            }
            keys.append(key);
            skipBlanks();
            ++m_at;   // ':'
            value();
            if (done())
                return;
            m_path.removeLast();
            skipBlanks();
            if (peek() == ',')
                ++m_at;
        }
        ++m_at;   // '}'
    }

    void array()
    {
        ++m_at;   // '['
        for (int index = 0;; ++index) {
            skipBlanks();
            if (done() || peek() == ']')
                break;
            m_path.append(Step{Key(), index});
            value();
            if (done())
                return;
            m_path.removeLast();
            skipBlanks();
            if (peek() == ',')
                ++m_at;
        }
        ++m_at;   // ']'
    }

    // Steps over the string at m_at.
    void skipString()
    {
        ++m_at;   // opening quote
        while (m_at < m_json.size() && peek() != '"')
            m_at += peek() == '\\' ? 2 : 1;
        ++m_at;   // closing quote
    }

    // Steps over the key at m_at, noting where its text lies.
    Key stepOverKey()
    {
        Key key;
        key.begin = m_at + 1;
        ++m_at;   // opening quote
        while (m_at < m_json.size() && peek() != '"') {
            key.escaped = key.escaped || peek() == '\\' || quint8(peek()) >= 0x80;
            m_at += peek() == '\\' ? 2 : 1;
        }
        key.end = m_at;
        ++m_at;   // closing quote
        return key;
    }

    // Two keys are the same when their texts are, escapes decoded, so that "\u00e9" and "é"
    // are one key; plain ASCII keys are compared as they stand.
    bool same(const Key &a, const Key &b) const
    {
        if (!a.escaped && !b.escaped)
            return QByteArrayView(m_json).sliced(a.begin, a.end - a.begin)
                   == QByteArrayView(m_json).sliced(b.begin, b.end - b.begin);
        return decoded(a) == decoded(b);
    }

    // The text of a key with its escapes decoded.
    QString decoded(const Key &key) const
    {
        QString text;
        qsizetype at = key.begin;
        qsizetype runStart = at;
        const auto endRun = [&] { text += QString::fromUtf8(m_json.constData() + runStart, at - runStart); };
        while (at < key.end) {
            if (m_json.at(at) != '\\') {
                ++at;
                continue;
            }
            endRun();
            const char escaped = m_json.at(at + 1);
            at += 2;
            if (escaped == 'u') {
                text += QChar(char16_t(m_json.mid(at, 4).toUShort(nullptr, 16)));
                at += 4;
            } else {
                text += QLatin1Char(UnescapedJsonChar(escaped));
            }
            runStart = at;
        }
        endRun();
        return text;
    }

    const QByteArray &m_json;
    qsizetype m_at = 0;
    QVector<Step> m_path;
    JsonTextProblem m_found;
};

}   // namespace

char UnescapedJsonChar(char escape)
{
    static const QByteArrayView from("bfnrt");
    static const char to[] = "\b\f\n\r\t";
    const qsizetype k = from.indexOf(escape);
    return k >= 0 ? to[k] : escape;
}

JsonTextProblem FindJsonTextProblem(const QByteArray &json)
{
    return Scanner(json).run();
}
