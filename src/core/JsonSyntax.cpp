#include "core/JsonSyntax.h"

#include <QStringDecoder>
#include <QtGlobal>

#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr QByteArrayView ByteOrderMark("\xEF\xBB\xBF");

// Bytes a string holds as they stand: not a quote, a backslash, a control character or a
// byte beyond ASCII (a string holding one is checked as UTF-8 once it ends).
constexpr std::array<bool, 256> PlainStringBytes = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x80; ++c)
        plain[size_t(c)] = c != '"' && c != '\\';
    return plain;
}();

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The grammar of RFC 8259 walked with a stack of open containers instead of recursion, so
// that any nesting the input holds costs memory, not the call stack.
class Checker
{
public:
    explicit Checker(QByteArrayView json) : m_begin(json.data()), m_at(m_begin), m_end(m_begin + json.size()) {}

    JsonSyntaxFault run()
    {
        if (QByteArrayView(m_at, m_end - m_at).startsWith(ByteOrderMark))
            m_at += ByteOrderMark.size();
        text();
        return m_fault;
    }

private:
    bool fail(const char *at, const QString &reason)
    {
        m_fault = JsonSyntaxFault{at - m_begin, reason};
        return false;
    }
    bool fail(const QString &reason) { return fail(m_at, reason); }

    // Something else than what stands at m_at was due.
    bool expected(const char *what)
    {
        if (m_at >= m_end)
            return fail(QStringLiteral("the text ends where %1 is due").arg(QLatin1String(what)));
        if (*m_at == '/')
            return fail(QStringLiteral("a comment, which JSON does not have"));
        return fail(QStringLiteral("expected %1").arg(QLatin1String(what)));
    }

    bool at(char c) const { return m_at < m_end && *m_at == c; }

    void blanks()
    {
        while (m_at < m_end && (*m_at == ' ' || *m_at == '\n' || *m_at == '\r' || *m_at == '\t'))
            ++m_at;
    }

    bool text()
    {
        std::vector<bool> open;   // per open container, whether it is an object
        for (;;) {
            // A value is due.
            blanks();
            if (at('{') || at('[')) {
                const bool object = *m_at++ == '{';
                blanks();
                if (!at(object ? '}' : ']')) {
                    open.push_back(object);
                    if (object && !key())
                        return false;
                    continue;
                }
                ++m_at;
            } else if (!scalar()) {
                return false;
            }
            // A value ended: close what ends here, then on to the next member or element.
            for (;;) {
                blanks();
                if (open.empty())
                    return m_at == m_end || expected("the end of the text");
                const bool object = open.back();
                if (at(object ? '}' : ']')) {
                    ++m_at;
                    open.pop_back();
                    continue;
                }
                if (!at(','))
                    return expected(object ? "\",\" or \"}\"" : "\",\" or \"]\"");
                const char *comma = m_at++;
                blanks();
                if (at('}') || at(']'))
                    return fail(comma, QStringLiteral("a trailing comma"));
                if (object && !key())
                    return false;
                break;
            }
        }
    }

    // A member's key and its colon.
    bool key()
    {
        blanks();
        if (!at('"'))
            return expected("a key in double quotes");
        if (!string())
            return false;
        blanks();
        if (!at(':'))
            return expected("\":\"");
        ++m_at;
        return true;
    }

    bool scalar()
    {
        if (m_at >= m_end)
            return expected("a value");
        switch (*m_at) {
        case '"':
            return string();
        case 't':
            return word("true");
        case 'f':
            return word("false");
        case 'n':
            return word("null");
        default:
            return at('-') || IsDigit(*m_at) ? number() : expected("a value");
        }
    }

    bool word(const char *word)
    {
        const size_t length = std::strlen(word);
        if (size_t(m_end - m_at) < length || std::memcmp(m_at, word, length) != 0)
            return expected(word);
        m_at += length;
        return true;
    }

    // -? (0 | [1-9][0-9]*) (.[0-9]+)? ([eE][+-]?[0-9]+)?
    bool number()
    {
        if (at('-'))
            ++m_at;
        if (at('0')) {
            ++m_at;
            if (m_at < m_end && IsDigit(*m_at))
                return fail(QStringLiteral("a number with a leading zero"));
        } else if (!digits()) {
            return false;
        }
        if (at('.')) {
            ++m_at;
            if (!digits())
                return false;
        }
        if (at('e') || at('E')) {
            ++m_at;
            if (at('+') || at('-'))
                ++m_at;
            if (!digits())
                return false;
        }
        return true;
    }

    bool digits()
    {
        if (m_at >= m_end || !IsDigit(*m_at))
            return expected("a digit");
        while (m_at < m_end && IsDigit(*m_at))
            ++m_at;
        return true;
    }

    // The string at m_at, from its opening quote to past its closing one.
    bool string()
    {
        const char *opening = m_at++;
        bool ascii = true;
        for (;;) {
            // Plain bytes in a tight loop: a profile is megabytes of them.
            while (m_at < m_end && PlainStringBytes[quint8(*m_at)])
                ++m_at;
            if (m_at >= m_end)
                return fail(opening, QStringLiteral("a string that is not closed"));
            const auto c = quint8(*m_at);
            if (c == '"') {
                ++m_at;
                // No byte of a UTF-8 sequence is a quote: the string ends here either way.
                return ascii || IsUtf8(QByteArrayView(opening + 1, m_at - opening - 2))
                       || fail(opening, QStringLiteral("a string that is not UTF-8"));
            }
            if (c < 0x20)
                return fail(QStringLiteral("a control character (U+%1) in a string")
                                .arg(QString::number(c, 16).toUpper().rightJustified(4, QLatin1Char('0'))));
            if (c >= 0x80) {
                ascii = false;
                ++m_at;
                continue;
            }
            if (!escape(opening))
                return false;
        }
    }

    // The escape at the backslash at m_at.
    bool escape(const char *opening)
    {
        if (m_end - m_at < 2)
            return fail(opening, QStringLiteral("a string that is not closed"));
        const char letter = m_at[1];
        if (letter == 'u') {
            for (int i = 2; i < 6; ++i)
                if (m_end - m_at <= i || !IsHexDigit(m_at[i]))
                    return fail(QStringLiteral("\\u without four hexadecimal digits"));
            m_at += 6;
            return true;
        }
        if (letter != '\0' && std::strchr("\"\\/bfnrt", letter)) {
            m_at += 2;
            return true;
        }
        if (quint8(letter) > 0x20 && quint8(letter) < 0x7F)
            return fail(QStringLiteral("unknown escape \\%1").arg(QLatin1Char(letter)));
        return fail(QStringLiteral("unknown escape"));
    }

    const char *const m_begin;
    const char *m_at;
    const char *const m_end;
    JsonSyntaxFault m_fault;
};

}   // namespace

bool IsUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = utf8.decode(bytes);
    return !utf8.hasError();
}

JsonSyntaxFault FindJsonSyntaxFault(QByteArrayView json)
{
    return Checker(json).run();
}

TextPlace PlaceOfOffset(QByteArrayView text, qsizetype offset)
{
    offset = qBound<qsizetype>(0, offset, text.size());
    TextPlace place;
    qsizetype lineStart = text.startsWith(ByteOrderMark) ? qMin(ByteOrderMark.size(), offset) : 0;
    for (qsizetype i = 0; i < offset; ++i) {
        if (text.at(i) == '\n') {
            ++place.line;
            lineStart = i + 1;
        }
    }
    // Each character has one byte that is no UTF-8 continuation byte.
    for (qsizetype i = lineStart; i < offset; ++i)
        place.column += (quint8(text.at(i)) & 0xC0) != 0x80;
    return place;
}
