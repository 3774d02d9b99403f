#pragma once
#include <QString>

#include <functional>

#include <csignal>
#include <sys/types.h>

// Every system call by which a save changes a file on disk goes through here: writes,
// fsyncs, creating, renaming and deleting the journal. Each returns 0 or the errno of
// the failure. Counting them in one place lets a test stop the program, or make a call
// fail, at any one of them and look at what the disk holds then.
namespace FileChanges {

// All of it, or fails; written (when given) tells how much reached the file before a failure.
int WriteAt(int fd, const char *bytes, qint64 count, qint64 offset, qint64 *written = nullptr);
int WriteAll(int fd, const QByteArray &bytes);
int Sync(int fd);
// fsync of the folder that holds path: makes a created, renamed or deleted entry durable.
int SyncFolderOf(const QString &path);
// A new file, exclusive (never an existing one, never through a link), mode 0600.
int CreateExclusive(const QString &path, int &fd);
int Rename(const QString &from, const QString &to);
int Remove(const QString &path);

// The most bytes a journal may hold (normal, unless a test lowers it), and whether file
// times stand still (only in a test that says so).
qint64 JournalLimit(qint64 normal);
bool TimesFrozen();

#ifdef BVL_FAULT_SEAM
// The fault seam, compiled only into the test build (CMake option BVL_FAULT_SEAM): the
// programs users run make every change as asked. Call number n (from 1) of the calls
// above, counted from the start of the process: kill the process with SIGKILL just
// before it (killAt), or make it and the failCount - 1 calls after it fail with error
// without doing anything (failAt). BVL_KILL_AT_FILE_CHANGE in the environment is a
// first killAt.
struct Faults
{
    int killAt = 0;
    int failAt = 0;
    int failCount = 1;
    int error = 0;
    // File times that never move, as on a file system with coarse times (whole seconds,
    // sshfs, many FUSE mounts) within one step of its clock: only the bytes tell a change.
    bool frozenTimes = false;
    // Runs just before call actAt, as another program would act at that moment.
    int actAt = 0;
    std::function<void()> act;
    // A lower limit for journals than MaxJournalBytes, so that a test of the limit need
    // not write a gigabyte; 0 for none.
    qint64 journalLimit = 0;
};
void SetFaults(const Faults &faults);
int CallCount();
#endif

}   // namespace FileChanges

// SIGXFSZ ignored while it lives, so that a write past the file-size limit fails with
// EFBIG like any write error instead of killing the program in the middle of a save.
class FileSizeSignalIgnored
{
public:
    FileSizeSignalIgnored();
    ~FileSizeSignalIgnored();
    FileSizeSignalIgnored(const FileSizeSignalIgnored &) = delete;
    FileSizeSignalIgnored &operator=(const FileSizeSignalIgnored &) = delete;

private:
    struct sigaction m_previous = {};
};
