#pragma once
// Saves stopped on purpose: a forked child killed at one file change of its save, the
// save lock held by another open file, and an interrupted save left on the disk.
#include "seem/files/FileChanges.h"
#include "seem/files/SeemFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QVector>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace SaveFaults {

// A save records where its journal lies in the journal index before it writes the journal
// (five file changes), and deletes the entry after the journal (two).
constexpr int IndexFirst = 5;
constexpr int IndexLast = 2;

// Each byte of edited that differs from what the image holds, as a pending write: one
// run per stretch of differing bytes.
inline void PendEdits(SeemFile &image, PendingWrites &pending, const QByteArray &edited)
{
    const QByteArray original = image.read(0, image.size());
    for (qsizetype i = 0; i < edited.size(); ++i)
        if (edited.at(i) != original.at(i))
            pending.write(i, edited.mid(i, 1));
}

// Saves the edit through the journaled save.
inline void SaveEdits(const QString &path, const QByteArray &edited)
{
    SeemFile image;
    image.open(path);
    PendingWrites pending(image);
    PendEdits(image, pending, edited);
    image.save(pending);
}

// Runs work in a forked child whose file change number killAt (from 1, counted from
// the fork; 0 for none) raises SIGKILL. The child's wait status.
inline int InChild(const std::function<void()> &work, int killAt = 0)
{
    const pid_t child = ::fork();
    if (child == 0) {
        FileChanges::Faults faults;
        faults.killAt = killAt > 0 ? FileChanges::CallCount() + killAt : 0;
        FileChanges::SetFaults(faults);
        try {
            work();
        } catch (...) {
            ::_exit(3);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

inline bool KilledBySigkill(int status)
{
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// How many file changes the save of edited into a copy of the image at path makes.
inline int FileChangesOfSave(const QString &path, const QByteArray &edited)
{
    const QString copy = path + QStringLiteral(".count");
    QFile::remove(copy);
    QFile::copy(path, copy);
    const int before = FileChanges::CallCount();
    SaveEdits(copy, edited);
    const int count = FileChanges::CallCount() - before;
    QFile::remove(copy);
    return count;
}

// Makes the file changes from number first (from the next one, 1) fail with error.
inline void FailFrom(int first, int error, int count = 1000000)
{
    FileChanges::Faults faults;
    faults.failAt = FileChanges::CallCount() + first;
    faults.failCount = count;
    faults.error = error;
    FileChanges::SetFaults(faults);
}

inline void NoFaults()
{
    FileChanges::SetFaults(FileChanges::Faults());
}

// The save lock on path, held by an open file of its own as another program would.
class HeldLock
{
public:
    explicit HeldLock(const QString &path) : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC))
    {
        held = m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
    }
    ~HeldLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool held = false;

private:
    int m_fd;
};

// Leaves an interrupted save of edited on the disk, as a crash after its second run would:
// the journal complete, the first run new, the rest old. Every byte of the edit must
// differ from the image, in at least two runs.
inline void InterruptSave(const QString &path, const QByteArray &edited)
{
    // Counted from after the open, which may make changes of its own (forgetting an index
    // entry that outlived its file).
    SeemFile image;
    image.open(path);
    PendingWrites pending(image);
    PendEdits(image, pending, edited);
    FailFrom(IndexFirst + 7, EIO);   // index and journal: 10 changes; the first run is the 11th
    try {
        image.save(pending);
    } catch (const SaveError &) {
    }
    NoFaults();
}

}   // namespace SaveFaults
