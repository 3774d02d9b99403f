#pragma once
#include "core/SettingTypes.h"
#include "platform/Platform.h"
#include "seem/files/SeemFile.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class SeemDocument;
struct AppContext;

// The steps of opening and saving the main window's SEEM file and setting file; which
// ones are open, the document holds. Opening is all or nothing: the new files are opened,
// read and checked aside (Next) and only taken over when everything succeeded, so the
// window's document stays as it was until then. The window runs the commands; this part
// asks the questions about the files, opens, reads and copies them, and gives the
// document its files.
class DocumentFiles
{
public:
    // A SEEM file and its setting file, opened, read and checked but not yet taken over.
    struct Next
    {
        std::unique_ptr<SeemFile> seemFile;   // null when the open SEEM file stays
        QString seemPath;
        QString settingPath;
        SettingFileHeader header;
        SettingList settings;
    };

    DocumentFiles(AppContext &ctx, SeemDocument &document);

    // How the SEEM file is opened; tests put openReadOnly here to see a file the user
    // may not write, which a test run with full rights cannot make.
    std::function<void(SeemFile &file, const QString &path)> SeemFileOpener = [](SeemFile &file, const QString &path) {
        file.open(path);
    };

    // Opens seemPath into next and names its setting file: the one chosen automatically
    // (when automatic) or the one the user picks; showStatus tells the user while asking.
    // False when the dialog was cancelled; throws BvlError on failure.
    bool OpenSeem(const QString &seemPath, bool automatic, Next &next,
                  const std::function<void(const QString &)> &showStatus);
    // Full path of the first setting file whose header matches the numbers in the SEEM
    // file's name, the per-user folder searched before the program folder; empty when
    // none does.
    QString AutoSelectSEC(const QString &fileName) const;
    // The open dialog for a setting file, in the open SEEM file's folder.
    std::optional<QString> AskSettingFile() const;
    // Reads and checks next's setting file. False when the file was refused (its message
    // has been shown); throws BvlError when it cannot be shown.
    bool ReadSettingFile(Next &next);
    // The document takes next over; true when it holds a new SEEM file.
    bool TakeOver(Next &next);
    // The unsaved-changes question, naming the document.
    MsgResult AskToSave() const;
    // Copies the open SEEM file to target, asking before another file is replaced, and
    // makes the copy the document's file. False, reported, when that did not happen.
    bool SaveAsCopy(const QString &target);
    static bool IsSameFile(const QString &a, const QString &b);
    // The folder of path with a trailing separator, proposed by the open dialogs.
    static QString FolderProposal(const QString &path);
    // The status line's text for the setting file in use.
    QString UsingFileStatus() const;
    // What the status line shows for text: for the setting file in use its name and phones
    // first (the whole text stays the tool tip); other texts as they are (empty).
    QString StatusLineShown(const QString &text) const;

private:
    // A setting file for another SEEM or record than the SEEM file's name says is used only
    // when the user says so; true when the numbers agree or the name carries none.
    bool AcceptOtherRecord(const Next &next) const;
    std::optional<QString> AskSettingFileIn(const QString &proposedFolder) const;

    AppContext &m_ctx;
    SeemDocument &m_document;
};

// The open dialog's filter for SEEM files: SEEM files, all files.
QString SeemFilter(AppContext &ctx);
// A message of the language file followed by the path it is about, in double quotes.
void ReportAboutPath(AppContext &ctx, const char *key, const QString &path, MsgIcon icon);
