#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// Every file the program writes as a whole (a setting file, its JSON form, values,
// proposals, a copy of an image) goes to its target through here, from the command line
// and from the windows alike. Before anything is written the target is refused when it
// is one of the inputs of the work (the same device and inode, through whatever name or
// link), which the output would replace with what was made from it, and when something
// other than a regular file is there (after links): replacing a FIFO, device or folder
// with a plain file is never what was meant.
//
// Failures throw BvlError naming the reason: 629 the target is an input ("is the input
// NAME itself"), 620 not a regular file ("is a FIFO, not a regular file"), 75 any other
// failure with the system's reason ("Permission denied", "No space left on device").
void CheckOutputTarget(const QString &target, const QStringList &inputs = {});

// Checks the target as above, then replaces it as a whole or not at all: a new file in
// the target's folder, written, on the disk, renamed over the target (a link's file when
// the target is a link), the folder synced. A replaced file keeps its permissions.
void WriteOutputFile(const QString &target, const QByteArray &bytes, const QStringList &inputs = {});
