#include "seem/authoring/DifferenceProposals.h"

#include "core/BvlError.h"
#include "core/CodePage.h"
#include "core/Conversions.h"
#include "seem/authoring/BitCoverage.h"

#include <QVarLengthArray>

#include <algorithm>
#include <utility>

namespace {

bool isAnsiChar(quint8 b)
{
    return IsAnsiTextByte(b);
}

// A printable UTF-16 unit that stands for a character by itself.
bool isWideChar(quint16 u)
{
    return u >= 0x20 && !(u >= 0x7F && u <= 0x9F) && !(u >= 0xD800 && u <= 0xDFFF) && u < 0xFFFE;
}

// Text in one or two scripts besides Latin: bytes that are no text give characters from
// all over the code space.
constexpr int MaxScriptsInWideText = 2;

// The scripts a text uses so far, by the high bytes of its characters.
class Scripts
{
public:
    // False when the character's script is one too many.
    bool add(quint8 highByte)
    {
        if (highByte == 0 || std::find(m_seen, m_seen + m_count, highByte) != m_seen + m_count)
            return true;
        if (m_count == MaxScriptsInWideText)
            return false;
        m_seen[m_count++] = highByte;
        return true;
    }

private:
    quint8 m_seen[MaxScriptsInWideText] = {};
    int m_count = 0;
};

// The writing systems of a text, by Unicode script. Digits, spaces and punctuation
// belong to every text: those of ASCII and Latin-1, general punctuation, and the
// punctuation and full-width forms of East Asian texts when the text is one.
class TextScripts
{
public:
    void add(char16_t unit)
    {
        const QChar::Script script = QChar(unit).script();
        if (!isShared(script) && !m_scripts.contains(script))
            m_scripts.append(script);
    }
    bool isEmpty() const { return m_scripts.isEmpty(); }

    bool admits(char16_t unit) const
    {
        const QChar::Script script = QChar(unit).script();
        if (!isShared(script))
            return m_scripts.contains(script);
        if (unit < 0x100 || (unit >= 0x2000 && unit <= 0x206F))
            return true;
        return isEastAsian() && ((unit >= 0x3000 && unit <= 0x303F) || (unit >= 0xFF00 && unit <= 0xFF65));
    }

private:
    static bool isShared(QChar::Script script)
    {
        return script == QChar::Script_Common || script == QChar::Script_Inherited || script == QChar::Script_Unknown;
    }
    bool isEastAsian() const
    {
        return std::any_of(m_scripts.cbegin(), m_scripts.cend(), [](QChar::Script s) {
            return s == QChar::Script_Han || s == QChar::Script_Hangul || s == QChar::Script_Hiragana
                   || s == QChar::Script_Katakana || s == QChar::Script_Bopomofo;
        });
    }

    QVarLengthArray<QChar::Script, 4> m_scripts;
};

struct TextRun
{
    qint64 start = 0;
    qint64 end = 0;       // behind the longer text's terminator, or at a described byte
    qint64 longest = 0;   // characters of the longer text
};

// Walks the images together over bytes that no setting or draft owns.
class ProposalScan
{
public:
    ProposalScan(const SettingList &settings, const QByteArray &first, const QByteArray &second,
                 const ProposalTexts &texts)
        : m_a(reinterpret_cast<const quint8 *>(first.constData())),
          m_b(reinterpret_cast<const quint8 *>(second.constData())),
          m_size(first.size()),
          m_coverage(settings, first.size()),
          m_first(first),
          m_second(second),
          m_texts(texts)
    {
        const bool distinct = !texts.firstImage.isEmpty() && texts.firstImage != texts.secondImage;
        m_firstState = ProposalStateName(distinct ? texts.firstImage : texts.first);
        m_secondState = ProposalStateName(distinct ? texts.secondImage : texts.second);
        if (m_firstState == m_secondState) {
            m_firstState = texts.first;
            m_secondState = texts.second;
        }
    }

    QVector<Proposal> run()
    {
        qint64 i = 0;
        while (i < m_size) {
            const quint8 open = quint8(~m_coverage.ownedBits(i));
            if (((m_a[i] ^ m_b[i]) & open) == 0) {
                ++i;
                continue;
            }
            TextRun text, wide;
            bool swallows = false;   // a text candidate at i was refused for the text after it
            const bool isWide = wideRunAt(i, wide, swallows);
            if (ansiRunAt(i, text, swallows) && !(isWide && readsAsWide(text))) {
                addText(SettingType::AnsiString, text);
                i = m_floor = text.end;
            } else if (isWide) {
                text = wide;
                addText(SettingType::UnicodeString, text);
                i = m_floor = text.end;
            } else {
                addByte(i);
                m_floor = ++i;
                // Equal characters between the number and the text that follows belong to
                // neither for sure: the text starts at its first changed byte.
                while (swallows && i < m_size && m_a[i] == m_b[i])
                    m_floor = ++i;
            }
        }
        return m_proposals;
    }

private:
    bool isFree(qint64 i) const { return i >= m_floor && i < m_size && m_coverage.ownedBits(i) == 0; }
    quint16 unitOf(const quint8 *image, qint64 i) const { return quint16(image[i] << 8 | image[i + 1]); }

    // Characters from start up to a zero byte or a described byte; false when the run
    // holds a byte that is no text or reaches the image's end without a terminator.
    bool ansiLength(const quint8 *image, qint64 start, qint64 &end, qint64 &length) const
    {
        length = 0;
        for (qint64 p = start; p < m_size; ++p) {
            if (!isFree(p)) {
                end = p;
                return true;
            }
            if (image[p] == 0) {
                end = p + 1;
                return true;
            }
            if (!isAnsiChar(image[p]))
                return false;
            ++length;
        }
        return false;
    }

    bool ansiRunAt(qint64 i, TextRun &run, bool &swallows) const
    {
        if (!isFree(i))
            return false;
        qint64 start = i;
        while (isFree(start - 1) && isAnsiChar(m_a[start - 1]) && isAnsiChar(m_b[start - 1]))
            --start;
        qint64 endA = 0, endB = 0, lengthA = 0, lengthB = 0;
        if (!ansiLength(m_a, start, endA, lengthA) || !ansiLength(m_b, start, endB, lengthB))
            return false;
        run = {start, qMax(endA, endB), qMax(lengthA, lengthB)};
        if (run.longest < MinimumTextCharacters || i >= run.end)
            return false;
        if (holdsAnotherText(endA, endB, run.end)) {
            swallows = true;
            return false;
        }
        return true;
    }

    // Whether an image whose text ends before end holds, between its end and end, a text of
    // its own that changed: the field would then start at a byte that changed as no text
    // does (a zero becoming a character) and swallow the text that follows it.
    bool holdsAnotherText(qint64 endA, qint64 endB, qint64 end) const
    {
        for (const auto &[image, from] : {std::pair{m_a, endA}, std::pair{m_b, endB}}) {
            qint64 characters = 0;
            bool changed = false;
            for (qint64 p = from; p < end; ++p) {
                if (!isAnsiChar(image[p])) {
                    characters = 0;
                    changed = false;
                    continue;
                }
                changed = changed || m_a[p] != m_b[p];
                if (++characters >= MinimumTextCharacters && changed)
                    return true;
            }
        }
        return false;
    }

    // Windows-1252 texts are mostly ASCII; Hangul or Han characters high byte first read
    // as one accented letter or sign after another. Such a run is taken as two-byte text
    // when it reads as one.
    bool readsAsWide(const TextRun &run) const
    {
        for (const quint8 *image : {m_a, m_b}) {
            qint64 high = 0, length = 0;
            for (qint64 p = run.start; p < run.end && image[p] != 0; ++p, ++length)
                high += image[p] >= 0x80;
            if (3 * high > length)
                return true;
        }
        return false;
    }

    bool wideLength(const quint8 *image, qint64 start, qint64 &end, qint64 &length) const
    {
        length = 0;
        Scripts scripts;
        for (qint64 p = start; p + 1 < m_size; p += 2) {
            if (!isFree(p) || !isFree(p + 1)) {
                end = p;
                return true;
            }
            const quint16 unit = unitOf(image, p);
            if (unit == 0) {
                end = p + 2;
                return true;
            }
            if (!isWideChar(unit) || !scripts.add(image[p]))
                return false;
            ++length;
        }
        return false;
    }

    // The scripts of the characters that differ between the images from unitStart to each
    // text's end: what the text is written in. Digits, spaces and punctuation tell nothing.
    // When only they differ, the scripts of the rest of the text stand in, and Latin after that.
    TextScripts differingScripts(qint64 unitStart) const
    {
        TextScripts differing, rest;
        for (const quint8 *image : {m_a, m_b}) {
            const quint8 *other = image == m_a ? m_b : m_a;
            for (qint64 p = unitStart; p + 1 < m_size && isFree(p) && isFree(p + 1); p += 2) {
                const quint16 unit = unitOf(image, p);
                if (unit == 0 || !isWideChar(unit))
                    break;
                (unit != unitOf(other, p) ? differing : rest).add(unit);
            }
        }
        if (differing.isEmpty())
            differing = rest;
        if (differing.isEmpty())
            differing.add(u'A');
        return differing;
    }

    // The first difference may lie in a character's high or low byte: both alignments
    // are tried, and the one whose text starts first wins. The text is taken back only
    // over characters of its own scripts: bytes before it that happen to read as another
    // script's characters are no part of it.
    bool wideRunAt(qint64 i, TextRun &best, bool &swallows) const
    {
        bool found = false;
        for (qint64 unitStart : {i - 1, i}) {
            if (!isFree(unitStart) || !isFree(unitStart + 1))
                continue;
            const TextScripts own = differingScripts(unitStart);
            qint64 start = unitStart;
            Scripts scriptsA, scriptsB;
            while (isFree(start - 2) && isFree(start - 1) && isWideChar(unitOf(m_a, start - 2))
                   && isWideChar(unitOf(m_b, start - 2)) && own.admits(unitOf(m_a, start - 2))
                   && own.admits(unitOf(m_b, start - 2)) && scriptsA.add(m_a[start - 2])
                   && scriptsB.add(m_b[start - 2]))
                start -= 2;
            qint64 endA = 0, endB = 0, lengthA = 0, lengthB = 0;
            if (!wideLength(m_a, start, endA, lengthA) || !wideLength(m_b, start, endB, lengthB))
                continue;
            const TextRun run{start, qMax(endA, endB), qMax(lengthA, lengthB)};
            if (run.longest < MinimumTextCharacters || i >= run.end)
                continue;
            if (holdsAnotherText(endA, endB, run.end)) {
                swallows = true;
                continue;
            }
            if (!found || run.start < best.start)
                best = run;
            found = true;
        }
        return found;
    }

    void addText(SettingType type, const TextRun &run)
    {
        SettingStruct s = draft(type, run.start, m_texts.textName.arg(OffsetName(run.start)));
        s.MaxStringLength = qint32(run.end - run.start);
        const auto textOf = [&](const QByteArray &image) {
            const QByteArray field = image.mid(run.start, run.end - run.start);
            if (type == SettingType::AnsiString) {
                const qsizetype terminator = field.indexOf('\0');
                return CodePage::decode(terminator < 0 ? field : field.left(terminator));
            }
            QString text;
            for (qint64 p = 0; p + 1 < field.size(); p += 2) {
                const auto unit = QChar(ushort(quint8(field[p]) << 8 | quint8(field[p + 1])));
                if (unit.isNull())
                    break;
                text += unit;
            }
            return text;
        };
        finish(s, QLatin1Char('"') + textOf(m_first) + QLatin1Char('"'),
               QLatin1Char('"') + textOf(m_second) + QLatin1Char('"'));
    }

    void addByte(qint64 i)
    {
        const quint8 owned = m_coverage.ownedBits(i);
        const quint8 differing = quint8((m_a[i] ^ m_b[i]) & ~owned);
        if (owned == 0 && qPopulationCount(differing) >= MinimumNumberBits) {
            SettingStruct s = draft(SettingType::Int8, i, m_texts.byteName.arg(OffsetName(i)));
            finish(s, QString::number(m_a[i]), QString::number(m_b[i]));
            return;
        }
        for (const BitRun &run : DifferingBitRuns(owned, differing))
            addBits(i, run.low, run.high);
    }

    void addBits(qint64 i, int low, int high)
    {
        const quint8 mask = BitRunMask(low, high);
        const int firstValue = m_a[i] & mask;
        const int secondValue = m_b[i] & mask;
        SettingStruct s;
        if (low == high) {
            s = draft(SettingType::Checkbox, i, m_texts.bitName.arg(OffsetName(i)).arg(low));
            s.Values = JoinValues({QString::number(secondValue), QString::number(firstValue)});
        } else {
            s = draft(SettingType::ValueList, i, m_texts.bitsName.arg(OffsetName(i)).arg(low).arg(high));
            s.ValueNames = JoinValues({m_firstState, m_secondState});
            s.Values = JoinValues({QString::number(firstValue), QString::number(secondValue)});
        }
        s.BitMask = mask;
        finish(s, ValueToBitText(firstValue), ValueToBitText(secondValue));
    }

    SettingStruct draft(SettingType type, qint64 offset, const QString &name) const
    {
        return DraftSetting(type, offset, name, m_texts);
    }

    void finish(SettingStruct &s, const QString &firstValue, const QString &secondValue)
    {
        s.Description = StorableText(m_texts.description.arg(m_firstState, firstValue, m_secondState, secondValue));
        m_proposals.append({s, firstValue, secondValue, QString(), 0});
    }

    const quint8 *m_a;
    const quint8 *m_b;
    qint64 m_size;
    BitCoverage m_coverage;
    const QByteArray &m_first;
    const QByteArray &m_second;
    const ProposalTexts &m_texts;
    QString m_firstState;
    QString m_secondState;
    qint64 m_floor = 0;   // bytes before it belong to a draft already made
    QVector<Proposal> m_proposals;
};

}   // namespace

bool IsAnsiTextByte(quint8 b)
{
    // Printable Windows-1252: no control character, none of the five unassigned codes.
    return b >= 0x20 && b != 0x7F && b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D;
}

QString StorableText(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        quint8 byte = 0;
        if (!CodePage::encodeChar(c, byte))
            c = QLatin1Char('?');
    }
    return result;
}

QString ProposalStateName(const QString &name)
{
    return StorableText(name).replace(ValueSeparator, QLatin1Char('_'));
}

SettingStruct DraftSetting(SettingType type, qint64 offset, const QString &name, const ProposalTexts &texts)
{
    SettingStruct s;
    s.Type = quint8(type);
    s.Offset = qint32(offset);
    s.Name = name;
    s.Group = texts.group;
    return s;
}

QVector<BitRun> DifferingBitRuns(quint8 owned, quint8 differing)
{
    // Each run of undescribed bits gets its own draft over the differing bits in it.
    QVector<BitRun> runs;
    int bit = 0;
    while (bit < 8) {
        if (owned & (1u << bit)) {
            ++bit;
            continue;
        }
        int low = -1, high = -1;
        for (; bit < 8 && !(owned & (1u << bit)); ++bit) {
            if (differing & (1u << bit)) {
                if (low < 0)
                    low = bit;
                high = bit;
            }
        }
        if (low >= 0)
            runs.append({low, high});
    }
    return runs;
}

quint8 BitRunMask(int low, int high)
{
    quint8 mask = 0;
    for (int bit = low; bit <= high; ++bit)
        mask |= quint8(1u << bit);
    return mask;
}

QString OffsetName(qint64 offset)
{
    return QStringLiteral("0x") + QString::number(offset, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QVector<Proposal> ProposeSettings(const SettingList &settings, const QByteArray &first, const QByteArray &second,
                                  const ProposalTexts &texts)
{
    if (first.size() != second.size())
        throw BvlError(ErrNo::TypeMismatch, QStringLiteral("the images differ in size"));
    return ProposalScan(settings, first, second, texts).run();
}
