#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// Everything the program asks of the desktop goes through this interface: message
// boxes, file dialogs, the input prompt, preferences, the program folder, the shell's
// "open" action and ending the program at once. The program uses QtPlatform; the tests
// install a scripted implementation that records each call and answers from a queue.

enum class MsgIcon {
    None,
    Critical,
    Warning,
    Question,
    Information
};
enum class MsgButtons {
    Ok,
    YesNo,
    YesNoCancel
};
enum class MsgResult {
    Ok,
    Yes,
    No,
    Cancel
};
// The button that Enter presses. A question whose Yes writes where it should not, replaces
// or removes something takes No, so that an answer given without reading keeps the data.
enum class MsgDefault {
    Yes,
    No
};

class Platform
{
public:
    virtual ~Platform() = default;

    // Shows text with the application title "Brimvale Edit"; returns the button pressed
    // (closing a Yes/No/Cancel box counts as Cancel, a Yes/No box as No). defaultAnswer
    // says which of Yes and No Enter presses; Escape gives No in a Yes/No box.
    virtual MsgResult messageBox(const QString &text, MsgIcon icon, MsgButtons buttons,
                                 MsgDefault defaultAnswer = MsgDefault::Yes) = 0;

    // filter is in the "description|pattern|description|pattern" form; a pattern may hold
    // several wildcards separated by ";". Returns nothing when the user cancels.
    // proposedName says where the dialog starts: a path in its folder with its file name
    // proposed, a folder (ending with a separator) in that folder; an empty name (or a
    // bare file name) in the folder last used in any file dialog of this run, else in the
    // user's home folder: never in the process's working folder, nor in the program
    // folder, which an installed copy's user cannot write.
    virtual std::optional<QString> openFileName(const QString &title, const QString &filter,
                                                const QString &proposedName = QString()) = 0;
    // The same with several files chosen at once (none when cancelled). By default one
    // file, through openFileName.
    virtual std::optional<QStringList> openFileNames(const QString &title, const QString &filter,
                                                     const QString &proposedName = QString());
    // confirmOverwrite false: choosing an existing file asks nothing more, for a dialog that
    // only confirms a save.
    virtual std::optional<QString> saveFileName(const QString &title, const QString &filter,
                                                const QString &proposedName = QString(),
                                                bool confirmOverwrite = true) = 0;

    // A one-line text prompt; Cancel gives the empty text, as an empty answer does.
    virtual QString inputBox(const QString &prompt, const QString &defaultText = QString()) = 0;

    // Per-user preferences of the application "Brimvale Edit".
    virtual QString readPreference(const QString &section, const QString &key, const QString &defaultValue) = 0;
    virtual void writePreference(const QString &section, const QString &key, const QString &value) = 0;

    // The folder of the executable, where language and setting files are looked for.
    virtual QString programFolder() = 0;

    // The user's own folder for setting and language files, searched before the program
    // folder (see SearchFolders). It need not exist: nothing creates it until a file is
    // written there. Empty when the desktop offers no such place.
    virtual QString userFolder() = 0;

    // Hands a web address or a "mailto:" address to the desktop; the result is ignored.
    virtual void shellOpen(const QString &target) = 0;

    // Ends the program at once, asking no window. A scripted platform only records it,
    // so callers return right after calling it.
    virtual void exitNow(int exitCode) = 0;
};

// The application title of every message box and the preferences' application name.
inline const QString ApplicationTitle = QStringLiteral("Brimvale Edit");

// "SEEM files|*.seem;*.bin|All|*.*" -> "SEEM files (*.seem *.bin);;All (*)": "*.*", every
// file, becomes "*", which matches the names without a dot too.
QString QtFileFilter(const QString &filter);

// Where a file dialog starts for proposedName (see Platform::openFileName), given the
// folder last used in a file dialog (empty when none was) and the user's home folder.
QString FileDialogStart(const QString &proposedName, const QString &lastFolder, const QString &homeFolder);

// The per-user folder of this desktop: "brimvale-edit" in the generic data location
// (on Linux ~/.local/share/brimvale-edit, or under $XDG_DATA_HOME when it is set). The
// windows and brimvale-cli both take it from here. Empty when there is no such location.
QString UserDataFolder();

// Joins a folder and a file name with the native separator.
QString JoinPath(const QString &folder, const QString &fileName);
