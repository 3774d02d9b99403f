#include "seem/authoring/SurveyProposals.h"

#include "core/BvlError.h"
#include "seem/authoring/BitCoverage.h"
#include "seem/files/SeemFileName.h"

#include <QFileInfo>

#include <algorithm>
#include <map>
#include <new>

namespace {

QString HexValue(int value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

}   // namespace

SettingFileHeader SurveyHeaderFor(const SettingFileHeader &header, const QString &firstImagePath)
{
    SettingFileHeader result = header;
    SeemNameNumbers numbers;
    if (ParseSeemFileName(QFileInfo(firstImagePath).fileName(), numbers)) {
        result.SEEMNr = numbers.seemNr;
        result.SEEMRec = numbers.seemRec;
    }
    return result;
}

void SurveyProposer::add(const QByteArray &image)
{
    try {
        if (m_count == 0) {
            m_first = image;
            m_varying = QByteArray(image.size(), '\0');
            m_flags = QByteArray(image.size(), '\0');
            m_textImages = QVector<qint32>(image.size(), 0);
            m_tallyOf = QVector<qint32>(image.size(), -1);
        } else if (image.size() != m_first.size()) {
            return;
        } else {
            const auto *in = reinterpret_cast<const quint8 *>(image.constData());
            const auto *first = reinterpret_cast<const quint8 *>(m_first.constData());
            for (qint64 i = 0; i < image.size(); ++i)
                if (in[i] != first[i] || m_tallyOf.at(i) >= 0)
                    tally(i, in[i]);
        }
        // Two images are drafted from as two; a third makes the second one of many.
        m_second = m_count == 1 ? image : QByteArray();
        markTexts(image);
    } catch (const std::bad_alloc &) {
        throw BvlError(ErrNo::OutOfMemory, QStringLiteral("the drafts from %1 images").arg(m_count));
    }
    ++m_count;
}

void SurveyProposer::tally(qint64 offset, quint8 value)
{
    const quint8 firstValue = quint8(m_first.at(offset));
    if (m_tallyOf.at(offset) < 0) {
        // Every image before this one held the first image's value.
        Tally fresh;
        fresh.values[0] = firstValue;
        fresh.counts[0] = m_count;
        fresh.kept = 1;
        fresh.min = fresh.max = firstValue;
        m_tallyOf[offset] = qint32(m_tallies.size());
        m_tallies.append(fresh);
    }
    Tally &t = m_tallies[m_tallyOf.at(offset)];
    t.min = qMin(t.min, value);
    t.max = qMax(t.max, value);
    m_varying[offset] = char(quint8(m_varying.at(offset)) | quint8(value ^ firstValue));
    const auto known = std::find(t.values, t.values + t.kept, value);
    if (known != t.values + t.kept)
        ++t.counts[known - t.values];
    else if (t.kept < MaxKeptValues) {
        t.values[t.kept] = value;
        t.counts[t.kept++] = 1;
    } else
        t.overflow = true;
}

void SurveyProposer::markTexts(const QByteArray &image)
{
    const auto *in = reinterpret_cast<const quint8 *>(image.constData());
    auto *flags = reinterpret_cast<quint8 *>(m_flags.data());
    const qint64 size = image.size();
    qint64 p = 0;
    while (p < size) {
        if (!IsAnsiTextByte(in[p])) {
            ++p;
            continue;
        }
        const qint64 start = p;
        while (p < size && IsAnsiTextByte(in[p]))
            ++p;
        if (p == size || in[p] != 0 || p - start < MinimumTextCharacters)
            continue;
        flags[start] |= TextStart;
        for (qint64 q = start; q < p; ++q) {
            flags[q] |= InText | Character;
            ++m_textImages[q];
        }
        flags[p] |= InText;
    }
}

int SurveyProposer::differingImages(qint64 offset, quint8 mask) const
{
    const qint32 index = m_tallyOf.at(offset);
    if (index < 0)
        return 0;
    const Tally &t = m_tallies.at(index);
    const quint8 firstValue = quint8(m_first.at(offset)) & mask;
    int differing = 0;
    for (int k = 0; k < t.kept; ++k)
        if ((t.values[k] & mask) != firstValue)
            differing += t.counts[k];
    int counted = 0;
    for (int k = 0; k < t.kept; ++k)
        counted += t.counts[k];
    // Images with values past those kept differ from the first: its value is kept first.
    return differing + (m_count - counted);
}

int SurveyProposer::textImages(qint64 start, qint64 end) const
{
    int most = 0;
    for (qint64 p = start; p < end; ++p)
        most = qMax(most, int(m_textImages.at(p)));
    return most;
}

QString SurveyProposer::described(const ProposalTexts &texts, int support, const QString &seen) const
{
    return StorableText(texts.supported.arg(QString::number(support), QString::number(m_count), seen));
}

QVector<Proposal> SurveyProposer::proposals(const SettingList &settings, const ProposalTexts &texts) const
{
    if (m_count < 2)
        return {};
    if (m_count == 2) {
        QVector<Proposal> drafts = ProposeSettings(settings, m_first, m_second, texts);
        for (Proposal &p : drafts) {
            const SettingStruct &s = p.setting;
            const bool isText =
                s.Type == quint8(SettingType::AnsiString) || s.Type == quint8(SettingType::UnicodeString);
            p.support = isText ? qMax(1, textImages(s.Offset, s.Offset + s.MaxStringLength))
                               : differingImages(s.Offset, s.Type == quint8(SettingType::Int8) ? 0xFF : s.BitMask);
        }
        return drafts;
    }
    const qint64 size = m_first.size();
    const BitCoverage coverage(settings, size);
    const auto isFree = [&](qint64 p) { return coverage.ownedBits(p) == 0; };
    // A text ends where the next begins unless some image's text runs on over the join.
    const auto joins = [&](qint64 p) {
        return (quint8(m_flags.at(p)) & InText)
               && !((quint8(m_flags.at(p)) & TextStart) && !(quint8(m_flags.at(p - 1)) & Character));
    };
    QVector<Proposal> drafts;
    qint64 floor = 0;   // bytes before it belong to a draft already made
    qint64 i = 0;
    while (i < size) {
        const quint8 owned = coverage.ownedBits(i);
        if ((quint8(m_varying.at(i)) & quint8(~owned)) == 0) {
            ++i;
        } else if (owned == 0 && (quint8(m_flags.at(i)) & InText)) {
            qint64 start = i, end = i + 1;
            while (start > floor && isFree(start - 1) && joins(start))
                --start;
            while (end < size && isFree(end) && joins(end))
                ++end;
            drafts.append(textDraft(start, end, texts));
            i = floor = end;
        } else {
            addByteDrafts(drafts, i, owned, texts);
            i = floor = i + 1;
        }
    }
    return drafts;
}

Proposal SurveyProposer::textDraft(qint64 start, qint64 end, const ProposalTexts &texts) const
{
    Proposal p;
    p.setting = DraftSetting(SettingType::AnsiString, start, texts.textName.arg(OffsetName(start)), texts);
    p.setting.MaxStringLength = qint32(end - start);
    p.support = textImages(start, end);
    p.seen = texts.textSeen;
    p.setting.Description = described(texts, p.support, p.seen);
    return p;
}

void SurveyProposer::addByteDrafts(QVector<Proposal> &drafts, qint64 offset, quint8 owned,
                                   const ProposalTexts &texts) const
{
    const Tally &t = m_tallies.at(m_tallyOf.at(offset));
    const quint8 varying = quint8(m_varying.at(offset)) & quint8(~owned);
    if (owned == 0 && qPopulationCount(varying) >= MinimumNumberBits && (t.overflow || t.kept > MaxListStates)) {
        Proposal p;
        p.setting = DraftSetting(SettingType::Int8, offset, texts.byteName.arg(OffsetName(offset)), texts);
        p.support = differingImages(offset, 0xFF);
        p.seen = QString::number(t.min) + QStringLiteral("..") + QString::number(t.max);
        p.setting.Description = described(texts, p.support, p.seen);
        drafts.append(p);
        return;
    }
    const int firstValue = quint8(m_first.at(offset));
    for (const BitRun &run : DifferingBitRuns(owned, varying)) {
        const quint8 mask = BitRunMask(run.low, run.high);
        std::map<int, int> counts;   // by value: the states in value order
        for (int k = 0; k < t.kept; ++k)
            counts[t.values[k] & mask] += t.counts[k];
        QStringList names, values, seen;
        for (const auto &[value, count] : counts) {
            const QString name = (count == 1 ? texts.countedStateOne.arg(HexValue(value))
                                             : texts.countedState.arg(HexValue(value), QString::number(count)));
            names << ProposalStateName(name);
            values << QString::number(value);
            seen << name;
        }
        Proposal p;
        if (run.low == run.high) {
            p.setting =
                DraftSetting(SettingType::Checkbox, offset, texts.bitName.arg(OffsetName(offset)).arg(run.low), texts);
            // Checked where an image differs from the first, as with two images.
            p.setting.Values =
                JoinValues({QString::number((firstValue & mask) ^ mask), QString::number(firstValue & mask)});
        } else {
            p.setting = DraftSetting(SettingType::ValueList, offset,
                                     texts.bitsName.arg(OffsetName(offset)).arg(run.low).arg(run.high), texts);
            p.setting.ValueNames = JoinValues(names);
            p.setting.Values = JoinValues(values);
        }
        p.setting.BitMask = mask;
        p.support = differingImages(offset, mask);
        p.seen = seen.join(QStringLiteral(", "));
        p.setting.Description = described(texts, p.support, p.seen);
        drafts.append(p);
    }
}
