#pragma once
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <QVector>
#include <QtGlobal>

// The five kinds of setting a setting file can describe. Codes above 4 may occur in
// files written by other means; they are kept and passed over where noted.
enum class SettingType : quint8 {
    Checkbox = 0,
    ValueList = 1,
    Int8 = 2,
    AnsiString = 3,
    UnicodeString = 4,
};

// Separator between the names of ValueNames and the numbers of Values ("§", byte 0xA7 on disk).
inline const QChar ValueSeparator(0x00A7);

// Separator between the levels of a group path ("Sound\Calls").
inline const QChar GroupSeparator(QLatin1Char('\\'));

// One setting. Field order is the order on disk.
struct SettingStruct
{
    QString Name;
    QString Description;
    quint8 Type = 0;      // SettingType code, kept raw so unknown codes survive
    qint32 UIIndex = 0;   // element of the main window's control array; rewritten on build
    QString Group;
    qint32 Offset = 0;            // first byte in the SEEM file
    qint32 MaxStringLength = 0;   // string field size in bytes, terminator included
    quint8 BitMask = 0;           // owned bits of the byte at Offset
    QString ValueNames;           // names joined by "§"
    QString Values;               // decimal numbers joined by "§"

    bool operator==(const SettingStruct &o) const;
    bool operator!=(const SettingStruct &o) const { return !(*this == o); }
};

struct SettingFileHeader
{
    QString Magic;   // "sec" in a setting file
    quint8 FileVersion = 0;
    QString ProgramVersion;
    qint16 SEEMNr = 0;
    qint16 SEEMRec = 0;
    QString Phones;
    qint32 SettingCount = 0;
    QString Author;

    bool operator==(const SettingFileHeader &o) const;
    bool operator!=(const SettingFileHeader &o) const { return !(*this == o); }
};

// A loaded setting file is a header plus settings numbered from 1: setting i is list[i - 1].
using SettingList = QVector<SettingStruct>;

// Splits at every "§": an empty text has no elements, a text without "§" has one.
QStringList SplitValues(const QString &joined);
// The same pieces as views into joined, for reading them without a string each; a list
// of up to 16 entries needs no memory of its own either.
using ValueViews = QVarLengthArray<QStringView, 16>;
ValueViews SplitValueViews(const QString &joined);
QString JoinValues(const QStringList &parts);
