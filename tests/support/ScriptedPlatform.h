#pragma once
#include "platform/Platform.h"

#include <QList>
#include <QMap>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A platform for tests: records every call and answers from queues. A question (Yes/No
// buttons), a file dialog or an input prompt without a queued answer fails the running
// test. Plain OK boxes need no answer; tests read them from calls.
class ScriptedPlatform : public Platform
{
public:
    enum class Kind {
        Message,
        OpenFile,
        SaveFile,
        Input,
        ShellOpen,
        Exit
    };

    struct Call
    {
        Kind kind = Kind::Message;
        QString text;   // message text, dialog title, prompt, shell target
        MsgIcon icon = MsgIcon::None;
        MsgButtons buttons = MsgButtons::Ok;
        QString filter;                 // file dialogs: the filter as the program gave it
        QString proposed;               // file dialogs: proposed name; input: default text
        bool confirmOverwrite = true;   // save dialogs: asks before replacing a file
        int exitCode = 0;
        MsgDefault defaultAnswer = MsgDefault::Yes;   // questions: the button Enter presses
    };

    // Answers, consumed in order.
    void answerMessage(MsgResult result) { m_messageAnswers.enqueue(result); }
    void answerFile(const QString &path) { m_fileAnswers.enqueue(path); }
    void cancelFile() { m_fileAnswers.enqueue(QString()); }   // empty = cancelled
    // Several files chosen in one open dialog.
    void answerFiles(const QStringList &paths) { m_fileAnswers.enqueue(paths.join(QLatin1Char('\n'))); }
    void answerInput(const QString &text) { m_inputAnswers.enqueue(text); }
    bool allAnswersUsed() const
    {
        return m_messageAnswers.isEmpty() && m_fileAnswers.isEmpty() && m_inputAnswers.isEmpty();
    }

    // What was shown.
    QList<Call> calls;
    QList<Call> callsOf(Kind kind) const;
    QStringList messages() const;   // texts of every message box, in order
    void clearCalls() { calls.clear(); }

    // Desktop state the program reads and writes.
    QString folder;   // program folder
    // The per-user folder: inside a temporary folder of this platform, not created.
    QTemporaryDir userBase;
    QString user = JoinPath(userBase.path(), QStringLiteral("brimvale-edit"));
    QMap<QString, QString> preferences;   // "section/key" -> value
    bool exited = false;

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
    QString programFolder() override { return folder; }
    QString userFolder() override { return user; }
    void shellOpen(const QString &target) override;
    void exitNow(int exitCode) override;

private:
    std::optional<QString> fileDialog(Call call);

    QQueue<MsgResult> m_messageAnswers;
    QQueue<QString> m_fileAnswers;
    QQueue<QString> m_inputAnswers;
};
