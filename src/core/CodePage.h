#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// The 8-bit code page of setting files and of the texts of ANSI string settings. The user
// picks one of the Windows code pages the communities that share setting files wrote in;
// Windows-1252 unless they pick another. One choice per process: the main window takes it
// from the preferences, brimvale-cli from --code-page.
//
// Every code page keeps the separator "§" at 0xA7 and "\" at 0x5C, as the format needs.
// All 256 bytes round-trip in each: a byte the code page leaves unassigned decodes to a
// character of the private use area (U+F700 plus the byte; Windows-1252 keeps its own
// convention of the control character of the same number) and encodes back to itself.
namespace CodePage {

constexpr int Default = 1252;

// The code pages offered, Windows-1252 first: 1252, 1250, 1251, 1253, 1254, 1257.
const QList<int> &Supported();
bool IsSupported(int number);
// "Windows-1251".
QString DisplayName(int number);

// The code page in use; Default until SetCurrent chooses another. A number not in
// Supported() is ignored (the code page stays as it was) and yields false.
int Current();
bool SetCurrent(int number);

// Conversions in the current code page.
QString decode(QByteArrayView bytes);
// Writes one character per byte to out, which must have room for bytes.size() characters.
void decodeInto(QByteArrayView bytes, QChar *out);
bool canEncode(const QString &text);
// Throws BvlError(ErrNo::TypeMismatch) when a character has no byte in the code page.
QByteArray encode(const QString &text);
bool encodeChar(QChar c, quint8 &byte);

// The same in a given code page (number must be in Supported()).
QString decode(int number, QByteArrayView bytes);
QByteArray encode(int number, const QString &text);
bool encodeChar(int number, QChar c, quint8 &byte);

// Restores the code page it found when it goes out of scope: for a command that runs in
// another code page for its own duration.
class Scope
{
public:
    explicit Scope(int number) : m_previous(Current()) { SetCurrent(number); }
    ~Scope() { SetCurrent(m_previous); }
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;

private:
    int m_previous;
};

}   // namespace CodePage
