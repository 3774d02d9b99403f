#include "support/ScriptedPlatform.h"

#include <QTest>

namespace {
void failUnexpected(const QString &what)
{
    const QByteArray text = ("unexpected, unanswered " + what).toUtf8();
    QTest::qFail(text.constData(), __FILE__, __LINE__);
}
}   // namespace

QList<ScriptedPlatform::Call> ScriptedPlatform::callsOf(Kind kind) const
{
    QList<Call> found;
    for (const Call &c : calls)
        if (c.kind == kind)
            found << c;
    return found;
}

QStringList ScriptedPlatform::messages() const
{
    QStringList texts;
    for (const Call &c : calls)
        if (c.kind == Kind::Message)
            texts << c.text;
    return texts;
}

MsgResult ScriptedPlatform::messageBox(const QString &text, MsgIcon icon, MsgButtons buttons, MsgDefault defaultAnswer)
{
    Call call;
    call.kind = Kind::Message;
    call.text = text;
    call.icon = icon;
    call.buttons = buttons;
    call.defaultAnswer = defaultAnswer;
    calls << call;
    if (buttons == MsgButtons::Ok)
        return MsgResult::Ok;
    if (m_messageAnswers.isEmpty()) {
        failUnexpected("question: " + text);
        return buttons == MsgButtons::YesNoCancel ? MsgResult::Cancel : MsgResult::No;
    }
    return m_messageAnswers.dequeue();
}

std::optional<QString> ScriptedPlatform::fileDialog(Call call)
{
    calls << call;
    if (m_fileAnswers.isEmpty()) {
        failUnexpected("file dialog: " + call.text);
        return std::nullopt;
    }
    const QString answer = m_fileAnswers.dequeue();
    if (answer.isEmpty())
        return std::nullopt;
    return answer;
}

std::optional<QString> ScriptedPlatform::openFileName(const QString &title, const QString &filter,
                                                      const QString &proposedName)
{
    return fileDialog({Kind::OpenFile, title, MsgIcon::None, MsgButtons::Ok, filter, proposedName});
}

std::optional<QStringList> ScriptedPlatform::openFileNames(const QString &title, const QString &filter,
                                                           const QString &proposedName)
{
    const std::optional<QString> answer = openFileName(title, filter, proposedName);
    if (!answer)
        return std::nullopt;
    return answer->split(QLatin1Char('\n'));
}

std::optional<QString> ScriptedPlatform::saveFileName(const QString &title, const QString &filter,
                                                      const QString &proposedName, bool confirmOverwrite)
{
    return fileDialog({Kind::SaveFile, title, MsgIcon::None, MsgButtons::Ok, filter, proposedName, confirmOverwrite});
}

QString ScriptedPlatform::inputBox(const QString &prompt, const QString &defaultText)
{
    Call call;
    call.kind = Kind::Input;
    call.text = prompt;
    call.proposed = defaultText;
    calls << call;
    if (m_inputAnswers.isEmpty()) {
        failUnexpected("input prompt: " + prompt);
        return QString();
    }
    return m_inputAnswers.dequeue();
}

QString ScriptedPlatform::readPreference(const QString &section, const QString &key, const QString &defaultValue)
{
    return preferences.value(section + QLatin1Char('/') + key, defaultValue);
}

void ScriptedPlatform::writePreference(const QString &section, const QString &key, const QString &value)
{
    preferences.insert(section + QLatin1Char('/') + key, value);
}

void ScriptedPlatform::shellOpen(const QString &target)
{
    Call call;
    call.kind = Kind::ShellOpen;
    call.text = target;
    calls << call;
}

void ScriptedPlatform::exitNow(int exitCode)
{
    Call call;
    call.kind = Kind::Exit;
    call.exitCode = exitCode;
    calls << call;
    exited = true;
}
