#include "seem/profiles/PlainProfile.h"

#include "core/JsonSyntax.h"
#include "core/JsonTextScan.h"
#include "seem/profiles/ValueJson.h"

#include <QJsonValue>
#include <QVarLengthArray>

#include <cctype>
#include <cstring>

namespace {

// Deeper values than this in the keys passed over are left to the document.
constexpr int MaxDepth = 64;
// Objects with more keys are left to the document (keys are compared pairwise).
constexpr int MaxKeys = 32;
// Whole numbers of up to 15 digits are below 1e15, where every double is exact.
constexpr int MaxDigits = 15;

// The text of a string as it stands between its quotes.
struct Text
{
    const char *begin = nullptr;
    const char *end = nullptr;
    bool ascii = true;      // no byte beyond 0x7F
    bool escaped = false;   // holds a backslash escape

    QByteArrayView bytes() const { return QByteArrayView(begin, end - begin); }
    bool plain() const { return ascii && !escaped; }
    bool is(QByteArrayView other) const
    {
        return end - begin == other.size() && std::memcmp(begin, other.data(), size_t(other.size())) == 0;
    }
};

// A quote, a backslash, a control character or a byte beyond ASCII.
bool IsSpecial(quint8 c)
{
    return c < 0x20 || c == '"' || c == '\\' || c >= 0x80;
}

bool IsHex(const char *four)
{
    for (int i = 0; i < 4; ++i)
        if (!std::isxdigit(quint8(four[i])))
            return false;
    return true;
}

class Reader
{
public:
    explicit Reader(const QByteArray &json) : m_at(json.constData()), m_end(json.constData() + json.size()) {}

    bool read(QVector<ValueAssignment> &assignments)
    {
        bool haveSettings = false;
        const bool read = members([&](const Text &key) {
            if (!key.is("settings"))
                return skipValue(1);
            haveSettings = true;
            return settings(assignments);
        });
        blanks();
        return read && haveSettings && m_at == m_end;
    }

private:
    void blanks()
    {
        while (m_at < m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\r' || *m_at == '\t'))
            ++m_at;
    }

    bool take(char c)
    {
        blanks();
        if (m_at < m_end && *m_at == c) {
            ++m_at;
            return true;
        }
        return false;
    }

    bool takeWord(const char *word)
    {
        const size_t length = std::strlen(word);
        if (size_t(m_end - m_at) < length || std::memcmp(m_at, word, length) != 0)
            return false;
        m_at += length;
        return true;
    }

    // A string at m_at, its escapes checked; false for anything JSON does not allow.
    bool string(Text &text)
    {
        blanks();
        if (m_at >= m_end || *m_at != '"')
            return false;
        text = Text{++m_at, nullptr};
        for (;;) {
            // Plain characters in a tight loop: a profile is megabytes of them.
            while (m_at < m_end && !IsSpecial(quint8(*m_at)))
                ++m_at;
            if (m_at >= m_end)
                return false;
            const auto c = quint8(*m_at);
            if (c == '"')
                break;
            if (c < 0x20)
                return false;
            if (c >= 0x80) {
                text.ascii = false;
                ++m_at;
                continue;
            }
            // A backslash.
            text.escaped = true;
            if (m_end - m_at < 2)
                return false;
            const char escape = m_at[1];
            if (escape == 'u') {
                // Halves of surrogate pairs, joined or not, are the document's to judge.
                if (m_end - m_at < 6 || !IsHex(m_at + 2)
                    || QChar::isSurrogate(QByteArrayView(m_at + 2, 4).toUShort(nullptr, 16)))
                    return false;
                m_at += 6;
            } else if (escape != '\0' && std::strchr("\"\\/bfnrt", escape)) {
                m_at += 2;
            } else {
                return false;
            }
        }
        text.end = m_at++;
        return text.ascii || IsUtf8(text.bytes());
    }

    // An object at m_at: member(key) reads the value of each key. Its keys are plain ASCII
    // and none twice, so that comparing bytes is comparing texts.
    template<typename Member> bool members(Member &&member)
    {
        if (!take('{'))
            return false;
        if (take('}'))
            return true;
        QVarLengthArray<Text, 8> keys;
        do {
            Text key;
            if (!newKey(keys, key) || !take(':') || !member(key))
                return false;
        } while (take(','));
        return take('}');
    }

    // A key of an object: plain ASCII and not one of keys; it is added to keys.
    template<typename Keys> bool newKey(Keys &keys, Text &key)
    {
        if (!string(key) || !key.plain() || keys.size() >= MaxKeys)
            return false;
        for (const Text &other : keys)
            if (other.is(key.bytes()))
                return false;
        keys.append(key);
        return true;
    }

    // The text of a string value; false for what the document should judge.
    static bool decoded(const Text &text, QString &out)
    {
        out.clear();
        if (text.ascii) {
            out.reserve(text.end - text.begin);
            appendAscii(text, out);
            return true;
        }
        if (text.escaped)
            return false;
        out = QString::fromUtf8(text.bytes());   // string() found it UTF-8
        return true;
    }

    // Appends an ASCII text with its escapes decoded (string() checked them), plain runs
    // at once.
    static void appendAscii(const Text &text, QString &out)
    {
        const char *run = text.begin;
        for (const char *at = text.begin; at < text.end; ++at) {
            if (*at != '\\')
                continue;
            out += QLatin1StringView(run, at - run);
            const char escape = *++at;
            if (escape == 'u') {
                out += QChar(char16_t(QByteArrayView(at + 1, 4).toUShort(nullptr, 16)));   // no surrogate
                at += 4;
            } else {
                out += QLatin1Char(UnescapedJsonChar(escape));
            }
            run = at + 1;
        }
        out += QLatin1StringView(run, text.end - run);
    }

    // A whole number of up to 15 digits as JSON writes it, the only numbers taken: the
    // document refuses a number too large for a double, and words the others itself.
    bool shortWholeNumber(QByteArrayView &digits)
    {
        const char *start = m_at;
        if (m_at < m_end && *m_at == '-')
            ++m_at;
        const char *first = m_at;
        while (m_at < m_end && *m_at >= '0' && *m_at <= '9')
            ++m_at;
        const qsizetype count = m_at - first;
        if (count == 0 || count > MaxDigits || (*first == '0' && count > 1))
            return false;
        if (m_at < m_end && (*m_at == '.' || *m_at == 'e' || *m_at == 'E'))
            return false;
        digits = QByteArrayView(start, m_at - start);
        return true;
    }

    // Any JSON value, checked and passed over.
    bool skipValue(int depth)
    {
        if (depth > MaxDepth)
            return false;
        blanks();
        if (m_at >= m_end)
            return false;
        switch (*m_at) {
        case '{':
            return members([&](const Text &) { return skipValue(depth + 1); });
        case '[':
            ++m_at;
            if (take(']'))
                return true;
            do {
                if (!skipValue(depth + 1))
                    return false;
            } while (take(','));
            return take(']');
        case '"': {
            Text text;
            return string(text);
        }
        case 't':
            return takeWord("true");
        case 'f':
            return takeWord("false");
        case 'n':
            return takeWord("null");
        default: {
            QByteArrayView digits;
            return shortWholeNumber(digits);
        }
        }
    }

    // "settings": an array of entries, each an object.
    bool settings(QVector<ValueAssignment> &assignments)
    {
        if (!take('['))
            return false;
        if (take(']'))
            return true;
        int element = 0;
        do {
            if (!entry(element++, assignments))
                return false;
        } while (take(','));
        return take(']');
    }

    // The words of "value": false for a kind the document words or refuses itself.
    bool valueWords(bool &isNull, QString &words)
    {
        blanks();
        if (m_at >= m_end)
            return false;
        isNull = false;
        switch (*m_at) {
        case '"': {
            Text text;
            return string(text) && decoded(text, words);
        }
        case 't':
            return takeWord("true") && ValueWordsFromJson(QJsonValue(true), words);
        case 'f':
            return takeWord("false") && ValueWordsFromJson(QJsonValue(false), words);
        case 'n':
            isNull = true;
            return takeWord("null");
        default: {
            QByteArrayView digits;
            return shortWholeNumber(digits) && ValueWordsFromJson(QJsonValue(digits.toLongLong()), words);
        }
        }
    }

    // One entry of "settings", as the document reader takes it: "name" a string, "group"
    // a string when there, "value" there; other keys passed over.
    bool entry(int element, QVector<ValueAssignment> &assignments)
    {
        Text name;
        Text group;
        QString words;
        bool haveName = false;
        bool haveValue = false;
        bool isNull = false;
        const bool read = members([&](const Text &key) {
            if (key.is("name")) {
                haveName = true;
                return string(name);
            }
            if (key.is("group"))
                return string(group);
            if (key.is("value")) {
                haveValue = true;
                return valueWords(isNull, words);
            }
            return skipValue(2);
        });
        if (!read || !haveName || !haveValue)
            return false;
        if (isNull)
            return true;
        QString query;
        if (!queryOf(group, name, query))
            return false;
        assignments.append(ValueAssignment{QString(), query, words, element});
        return true;
    }

    // ProfileQuery of the texts, decoded into one string when both are ASCII.
    static bool queryOf(const Text &group, const Text &name, QString &query)
    {
        if (group.ascii && name.ascii) {
            query.reserve((group.end - group.begin) + 1 + (name.end - name.begin));
            appendAscii(group, query);
            if (!query.isEmpty())
                query += QLatin1Char('\\');
            appendAscii(name, query);
            return true;
        }
        QString groupText;
        QString nameText;
        if (!decoded(group, groupText) || !decoded(name, nameText))
            return false;
        query = ProfileQuery(groupText, nameText);
        return true;
    }

    const char *m_at;
    const char *const m_end;
};

}   // namespace

std::optional<QVector<ValueAssignment>> ReadPlainProfile(const QByteArray &json)
{
    QVector<ValueAssignment> assignments;
    // An entry takes well over a hundred bytes of text (show writes about 240): room
    // reserved once instead of copying a growing list, untouched where it is not used.
    assignments.reserve(json.size() / 100);
    if (!Reader(json).read(assignments))
        return std::nullopt;
    return assignments;
}
