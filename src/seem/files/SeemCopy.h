#pragma once
#include "seem/files/ByteStore.h"

#include <QString>
#include <QStringList>

class SeemFile;

// Writes every byte of source into the file targetPath, which is created or replaced as
// a whole: until the copy is complete and on the disk, an existing target keeps its old
// contents. The target goes through the one output check (OutputTarget.h): never one of
// inputs, never a FIFO, device or folder. Throws BvlError 629 or 620 from that check, 75
// with the system's reason when the target cannot be written, and what source.read()
// throws; the source is only read.
void CopySeemImage(ByteStore &source, const QString &targetPath, const QStringList &inputs = {});
// The same for an open SEEM file, which is itself an input beside otherInputs.
void CopySeemImage(SeemFile &source, const QString &targetPath, const QStringList &otherInputs = {});
