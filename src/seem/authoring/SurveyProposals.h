#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/DifferenceProposals.h"

#include <QByteArray>
#include <QVector>

// Draft settings for what varies over many images of one record that no setting describes,
// by the rules of the drafts from two images (DifferenceProposals) where they carry over:
// 1. Text: wholly undescribed bytes where some image holds a zero-terminated Windows-1252
//    text of three characters or more become an AnsiString over every byte where text was
//    seen, terminators included, when one of them varies.
// 2. A wholly undescribed byte varying in three bits or more and taking more than
//    MaxListStates values becomes an Int8, described by the range of values seen.
// 3. Otherwise each run of undescribed bits holding varying bits becomes a Checkbox (one
//    bit, checked where an image differs from the first) or a ValueList with a state per
//    value seen, named by the value and how many images hold it ("0x03 (3 images)").
// Each draft counts the images that back it: those differing from the first image in its
// bits, or holding text in its field. With exactly two images the drafts are those of
// ProposeSettings for them.
//
// Images are fed one at a time; what is kept grows with the image's size only: the first
// image (and the second while there are two), a few flags per byte, and for each byte that
// varies at most MaxKeptValues distinct values with their counts.
class SurveyProposer
{
public:
    static constexpr int MaxKeptValues = 16;
    static constexpr int MaxListStates = 8;

    // Counts an image in; one of another size than the first is passed over (the survey
    // leaves it out). Throws BvlError 7 when the tallies find no memory.
    void add(const QByteArray &image);
    int imageCount() const { return m_count; }
    qint64 imageSize() const { return m_first.size(); }

    // Drafts for the bits that vary and settings leave undescribed, in offset order.
    QVector<Proposal> proposals(const SettingList &settings, const ProposalTexts &texts = ProposalTexts()) const;

private:
    // The values one varying byte took, in the order first seen.
    struct Tally
    {
        quint8 values[MaxKeptValues] = {};
        qint32 counts[MaxKeptValues] = {};
        qint32 kept = 0;
        bool overflow = false;   // more values than were kept: only the range is whole
        quint8 min = 0xFF;
        quint8 max = 0;
    };
    // Per-byte flags of the texts seen in any image.
    enum : quint8 {
        InText = 1,      // a character or the terminator of a text
        Character = 2,   // a character of a text
        TextStart = 4,
    };

    void tally(qint64 offset, quint8 value);
    void markTexts(const QByteArray &image);
    Proposal textDraft(qint64 start, qint64 end, const ProposalTexts &texts) const;
    void addByteDrafts(QVector<Proposal> &drafts, qint64 offset, quint8 owned, const ProposalTexts &texts) const;
    // The images whose bits under mask differ from the first image's at offset.
    int differingImages(qint64 offset, quint8 mask) const;
    int textImages(qint64 start, qint64 end) const;
    QString described(const ProposalTexts &texts, int support, const QString &seen) const;

    int m_count = 0;
    QByteArray m_first;
    QByteArray m_second;    // while there are two
    QByteArray m_varying;   // per byte: the bits that differ from the first image in some image
    QByteArray m_flags;
    QVector<qint32> m_textImages;   // per byte: the images holding a text character there
    QVector<qint32> m_tallyOf;      // per byte: its tally, -1 while it never varied
    QVector<Tally> m_tallies;
};

// The header a survey for drafts checks images' names against: the setting file's, for the
// SEEM and record the first image's name carries when it carries them. Drafts are made
// from images of one record, also while a setting file for another is being written.
SettingFileHeader SurveyHeaderFor(const SettingFileHeader &header, const QString &firstImagePath);
