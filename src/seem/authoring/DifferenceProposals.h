#pragma once
#include "core/SettingTypes.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// Draft settings for what changed between two images of one record that no setting
// describes yet: how the people who write setting files find out what a byte means.
//
// Rules, for each byte whose differing bits no setting owns, in this order:
// 1. Text: undescribed bytes holding zero-terminated Windows-1252 text in both images
//    become an AnsiString, two-byte high-byte-first text ending in two zero bytes a
//    UnicodeString (in Latin and at most two other scripts, as real texts are). The field starts at the text's first character (a text is taken back only
//    over characters of the scripts its differing characters are written in, and digits,
//    spaces and punctuation) and reaches to the
//    end of the longer text's terminator or to the next described byte. A field where one
//    image's text ends and a changed text of that image follows is no text field: its
//    first byte is a byte that changed, and the text after it gets its own draft from
//    its first changed byte.
// 2. A wholly undescribed byte differing in three bits or more becomes an Int8.
// 3. Otherwise one differing bit becomes a Checkbox on that bit (checked as the second
//    image holds it), several a ValueList over the smallest run of undescribed bits
//    covering them, with one state per image.
// A draft never owns a bit an existing setting or another draft owns, and its texts are
// what a setting file can hold (characters Windows-1252 lacks become "?").

// The words the drafts are made of; English unless a window passes its language's.
struct ProposalTexts
{
    QString group = QStringLiteral("Proposed");
    QString firstImage;   // file names of the two images; states are named after them
    QString secondImage;
    QString first = QStringLiteral("first");   // the state names when the file names are equal
    QString second = QStringLiteral("second");
    QString bitName = QStringLiteral("Byte %1, bit %2");
    QString bitsName = QStringLiteral("Byte %1, bits %2-%3");
    QString byteName = QStringLiteral("Byte %1");
    QString textName = QStringLiteral("Text at %1");
    QString description = QStringLiteral("%1: %2; %3: %4");
    // Drafts from many images: a state by its value and how many images hold it, a
    // draft's description by its support and the values seen.
    QString countedState = QStringLiteral("%1 (%2 images)");
    QString countedStateOne = QStringLiteral("%1 (1 image)");
    QString supported = QStringLiteral("%1 of %2 images: %3");
    QString textSeen = QStringLiteral("text");
};

struct Proposal
{
    SettingStruct setting;
    QString firstValue;   // the value each image holds, as the description names it
    QString secondValue;
    // From many images: the values seen (with their counts, or as min..max) and how many
    // images back the draft; empty and 0 from two images.
    QString seen;
    int support = 0;
};

// Throws BvlError(ErrNo::TypeMismatch) when the images differ in size.
QVector<Proposal> ProposeSettings(const SettingList &settings, const QByteArray &first, const QByteArray &second,
                                  const ProposalTexts &texts = ProposalTexts());

// The rules' pieces, shared with the drafts from many images (SurveyProposals).
inline constexpr int MinimumTextCharacters = 3;   // fewer are as often numbers that look like letters
inline constexpr int MinimumNumberBits = 3;       // a free byte changed in as many bits is a number
bool IsAnsiTextByte(quint8 b);
// Characters Windows-1252 lacks as "?": what a setting file's 8-bit texts can hold.
QString StorableText(const QString &text);
// A state's name as ValueNames can hold it.
QString ProposalStateName(const QString &name);
SettingStruct DraftSetting(SettingType type, qint64 offset, const QString &name, const ProposalTexts &texts);
// The runs of bits owned leaves free that hold differing bits, each from its lowest to its
// highest differing bit.
struct BitRun
{
    int low;
    int high;
};
QVector<BitRun> DifferingBitRuns(quint8 owned, quint8 differing);
quint8 BitRunMask(int low, int high);

// "0x01A3": an offset as the drafts name it, at least four hexadecimal digits.
QString OffsetName(qint64 offset);
