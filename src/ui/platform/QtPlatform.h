#pragma once
#include "platform/Platform.h"

// The real desktop: Qt message boxes and file dialogs, QSettings, the executable's folder
// and the per-user data folder,
// QDesktopServices for the shell's "open" action.
class QtPlatform : public Platform
{
public:
    MsgResult messageBox(const QString &text, MsgIcon icon, MsgButtons buttons,
                         MsgDefault defaultAnswer = MsgDefault::Yes) override;
    std::optional<QString> openFileName(const QString &title, const QString &filter,
                                        const QString &proposedName) override;
    std::optional<QStringList> openFileNames(const QString &title, const QString &filter,
                                             const QString &proposedName) override;
    std::optional<QString> saveFileName(const QString &title, const QString &filter, const QString &proposedName,
                                        bool confirmOverwrite) override;
    QString inputBox(const QString &prompt, const QString &defaultText) override;
    QString readPreference(const QString &section, const QString &key, const QString &defaultValue) override;
    void writePreference(const QString &section, const QString &key, const QString &value) override;
    QString programFolder() override;
    QString userFolder() override;
    void shellOpen(const QString &target) override;
    void exitNow(int exitCode) override;

private:
    // Where a dialog for proposedName starts; remembers the folder of what was chosen.
    QString dialogStart(const QString &proposedName);
    std::optional<QString> chosenFile(const QString &chosen);

    QString m_lastFolder;   // folder of the file last chosen in a file dialog of this run
};
