#pragma once
#include <QString>
#include <stdexcept>

// A failure with the number that the program shows to the user ("... ERR 62").
// Core code throws these; the windows catch them and report through the platform.
namespace ErrNo {
constexpr int Overflow = 6;        // a number does not fit its field
constexpr int OutOfMemory = 7;     // a count that the input cannot back
constexpr int TypeMismatch = 13;   // a text that is not a number, or not representable
constexpr int FileNotFound = 53;
constexpr int InputPastEnd = 62;     // reading or writing beyond the end of a file
constexpr int PathFileAccess = 75;   // a file that cannot be opened, written or replaced
constexpr int BadHexDigit = 513;
constexpr int BitTextTooLarge = 516;
constexpr int GroupEmpty = 600;
constexpr int NameEmpty = 601;
constexpr int NoStates = 602;
constexpr int CheckboxNoBits = 603;
constexpr int ValueListNoBits = 604;
constexpr int CheckboxValues = 605;   // checked/unchecked not bit texts, or equal within the bits
constexpr int StringLength = 606;     // a string field without room for its terminator (UTF-16: 2 bytes)
// SEEM files: the program's own numbers for refusals that protect the user's image.
constexpr int NotRegularFile = 620;        // a FIFO, device or folder where a file was expected
constexpr int FileChanged = 621;           // the file on disk is not the one that was opened
constexpr int FileReadOnly = 622;          // opened for reading only: nothing can be written
constexpr int FileBusy = 623;              // another program is saving the file: nothing was written
constexpr int JournalUnwritable = 624;     // no rollback journal can be written beside it: nothing was written
constexpr int SaveDamaged = 625;           // a save failed and putting the file back failed too
constexpr int LockUnavailable = 626;       // the file system offers no lock on the file: nothing was written
constexpr int FileReplaced = 627;          // the name led to another file once the save was done
constexpr int SavedFolderUnsynced = 628;   // saved, but syncing the folder after the journal's deletion failed
constexpr int TargetIsInput = 629;         // an output that is one of the command's inputs
constexpr int FileTooLarge = 630;          // larger than its format can sensibly be: not read
constexpr int JournalTooLarge = 631;       // a save whose journal would exceed the limit: nothing was written
constexpr int NotSettingFile = 632;        // no setting file, or one of a format version not read
}   // namespace ErrNo

class BvlError : public std::runtime_error
{
public:
    explicit BvlError(int number, const QString &detail = QString())
        : std::runtime_error(detail.isEmpty() ? "error " + std::to_string(number) : detail.toStdString()),
          m_number(number)
    {}
    int number() const { return m_number; }

private:
    int m_number;
};
