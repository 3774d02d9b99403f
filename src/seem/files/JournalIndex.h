#pragma once
#include "seem/files/SaveJournal.h"

#include <QByteArray>

// Where the journal of a save lies, kept in the user's own state folder
// ($XDG_STATE_HOME/brimvale-edit/journals, by default ~/.local/state/...) under the
// image's device and inode. The journal lies beside the name the image was saved under;
// the same file reached through a hard link or a bind mount in another folder, or moved
// within its file system, finds it here. Written before the journal, deleted after it.
//
// Nothing another user could have put there is used: the folder and the entry must be the
// user's own and writable by nobody else, and an entry must be whole (its hash).
struct JournalIndexEntry
{
    QByteArray journalPath;   // absolute, as the system's bytes
    JournalImage image;       // the journal's header: which file, its hashes
};

// The folder of the entries (system bytes); empty when there is no home to put it in.
QByteArray JournalIndexFolder();
// 0 or the errno of the failure; the folder is made (mode 0700) when missing. A folder
// that is not the user's own is passed over.
int WriteJournalIndex(const JournalIndexEntry &entry);
// True when an entry (whole or not) exists for the file.
bool JournalIndexed(quint64 device, quint64 inode);
// The entry for the file; false when there is none that can be trusted and read whole.
bool ReadJournalIndex(quint64 device, quint64 inode, JournalIndexEntry &entry);
// 0 or the errno of the failure; no entry is no failure.
int RemoveJournalIndex(quint64 device, quint64 inode);
