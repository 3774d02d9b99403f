#pragma once
#include "seem/ByteStore.h"

#include <QString>

// Writes every byte of source into the file targetPath, which is created or replaced as
// a whole: until the copy is complete and on the disk, an existing target keeps its old
// contents. Throws BvlError 75 with the system's reason when the target cannot be
// written, and what source.read() throws; the source is only read.
void CopySeemImage(ByteStore &source, const QString &targetPath);
