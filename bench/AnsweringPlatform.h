#pragma once
#include "platform/Platform.h"

#include <QMap>
#include <QQueue>
#include <QStringList>

// The desktop as the benchmark sees it: file dialogs answered from a queue, questions
// answered "No", preferences in memory (the user's own are never touched). Every message
// box is kept, so that a run which showed one can be refused as not measuring the road.
class AnsweringPlatform : public Platform
{
public:
    QString folder;
    QMap<QString, QString> preferences;   // "section/key" -> value
    QQueue<QString> fileAnswers;          // an empty queue cancels the dialog
    QStringList messages;

    MsgResult messageBox(const QString &text, MsgIcon, MsgButtons buttons, MsgDefault = MsgDefault::Yes) override
    {
        messages << text;
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::No;
    }
    std::optional<QString> openFileName(const QString &, const QString &, const QString &) override
    {
        return nextFile();
    }
    std::optional<QString> saveFileName(const QString &, const QString &, const QString &, bool) override
    {
        return nextFile();
    }
    QString inputBox(const QString &, const QString &) override { return QString(); }
    QString readPreference(const QString &section, const QString &key, const QString &defaultValue) override
    {
        return preferences.value(section + QLatin1Char('/') + key, defaultValue);
    }
    void writePreference(const QString &section, const QString &key, const QString &value) override
    {
        preferences.insert(section + QLatin1Char('/') + key, value);
    }
    QString programFolder() override { return folder; }
    QString userFolder() override { return QString(); }
    void shellOpen(const QString &) override {}
    void exitNow(int) override {}

private:
    std::optional<QString> nextFile()
    {
        if (fileAnswers.isEmpty())
            return std::nullopt;
        return fileAnswers.dequeue();
    }
};
