#pragma once
#include <QString>
#include <QStringList>
#include <optional>

class bvlMain;

// What the command line asks of the program: nothing, or one SEEM file to open once the
// main window has started (the file manager passes the file it was asked to open). Help,
// the version, and a command line the program refuses end it before any window exists.
struct StartArguments
{
    // The exit status of a command line the program refuses.
    static constexpr int UsageStatus = 2;

    QString seemPath;                // absolute path of the file to open; empty for none
    std::optional<int> exitStatus;   // set: print message and end with this status
    QString message;                 // help or version (standard output), or the usage (standard error)
};

// arguments as QCoreApplication::arguments() gives them, the program's name first and the
// toolkit's own options already taken out.
StartArguments ParseStartArguments(const QStringList &arguments);

// Whether arguments may hold one of the toolkit's own options (-platform, -style, -reverse:
// a single dash and a word), which only the application object takes out. A command line
// refused without one is refused as it stands, before the application object (and a
// display) is needed.
bool MayHoldToolkitOption(const QStringList &arguments);

// The program's start: the main window's own start-up, then the file named on the command
// line opened as File > Open SEEM opens the file chosen in its dialog. False when the
// program was ended during start-up.
bool StartMainWindow(bvlMain &window, const StartArguments &arguments);
