#pragma once
#include <QString>
#include <QtGlobal>

// The SEEM number and record number written in a SEEM file's name, such as
// 0032_0001.seem: the first "_"-separated piece is the SEEM number, the first four
// characters of the second piece the record number, both hexadecimal.
struct SeemNameNumbers
{
    qint16 seemNr = 0;
    qint16 seemRec = 0;
};

// Returns false when the name has no "_", a piece is not hexadecimal, or a number
// does not fit 16 bits. fileName is the last path component, extension included.
bool ParseSeemFileName(const QString &fileName, SeemNameNumbers &numbers);
