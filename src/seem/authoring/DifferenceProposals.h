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
};

struct Proposal
{
    SettingStruct setting;
    QString firstValue;   // the value each image holds, as the description names it
    QString secondValue;
};

// Throws BvlError(ErrNo::TypeMismatch) when the images differ in size.
QVector<Proposal> ProposeSettings(const SettingList &settings, const QByteArray &first, const QByteArray &second,
                                  const ProposalTexts &texts = ProposalTexts());

// "0x01A3": an offset as the drafts name it, at least four hexadecimal digits.
QString OffsetName(qint64 offset);
