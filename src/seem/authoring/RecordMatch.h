#pragma once
#include "core/SettingTypes.h"
#include "seem/files/SeemFileName.h"

#include <QString>

// Whether a setting file is written for the SEEM and record a SEEM file's name carries.
// A setting file for another record reads and writes bytes where they mean something
// else; the main window asks before it uses one, the command line refuses to write with
// one unless told, and says so where it only reads.

// True when seemFileName (the last path component) carries a SEEM and record number and
// they differ from header's; named then receives the name's numbers. A name without
// numbers says nothing, so it never differs.
bool NameSaysOtherRecord(const QString &seemFileName, const SettingFileHeader &header, SeemNameNumbers &named);

// "0032_0001": a SEEM and record number as file names and setting files show them.
QString RecordNumbersText(qint16 seemNr, qint16 seemRec);
