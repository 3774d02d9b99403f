#pragma once
#include <QByteArray>
#include <QString>
#include <QVector>

// The rollback journal of a save: written beside the SEEM image before its first byte
// changes, deleted once the new bytes are on the disk. A journal found at open time
// means a save was interrupted; it holds what is needed to put the file back.
//
// On disk: magic, the image's size, a SHA-256 of the original bytes of all runs (the
// image's identity), the run count, per run its offset, length, original and new bytes,
// and a SHA-256 of everything before it. It is written under a temporary name and
// renamed into place once complete and on the disk, so a journal under its own name is
// always whole unless the disk damaged it.

struct JournalRun
{
    qint64 offset = 0;
    QByteArray before;
    QByteArray after;
};

// ".NAME.bvl-journal" in the image's folder.
QString JournalPathOf(const QString &imagePath);

// Writes the journal and makes it and its name durable. Returns 0 or the errno of the
// failure; a failed write leaves no journal behind.
int WriteJournal(const QString &imagePath, qint64 imageSize, const QVector<JournalRun> &runs);
// Deletes the journal and makes that durable; 0 or the errno.
int RemoveJournal(const QString &imagePath);

// What opening an image found of an interrupted save.
struct JournalNotice
{
    enum class Kind {
        None,          // no journal
        RolledBack,    // the file was put back as it was before the interrupted save
        Kept           // a journal that could not be used: left alone, the image is to open read-only
    };
    enum class Why { Damaged, OtherContents, Busy, CannotWrite };
    Kind kind = Kind::None;
    Why why = Why::Damaged;   // for Kept
    QString imagePath;
    QString journalPath;
    QString systemReason;     // strerror text, when a system call failed
};

// Puts back an image whose save was interrupted, under the save lock: a complete journal
// whose identity matches the image (its size, and every journaled byte holding its old
// or its new value) is rolled back, fsynced and deleted. Any other journal is left alone.
JournalNotice RecoverInterruptedSave(const QString &imagePath);
