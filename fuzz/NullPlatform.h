#pragma once
#include "platform/Platform.h"

// A desktop that shows nothing and answers every question with "no": the harnesses
// exercise readers and lookups, and a missing language key only raises a message.
class NullPlatform : public Platform
{
public:
    MsgResult messageBox(const QString &, MsgIcon, MsgButtons buttons, MsgDefault = MsgDefault::Yes) override
    {
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
    }
    std::optional<QString> openFileName(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const QString &, const QString &, const QString &, bool) override
    {
        return std::nullopt;
    }
    QString inputBox(const QString &, const QString &) override { return QString(); }
    QString readPreference(const QString &, const QString &, const QString &defaultValue) override
    {
        return defaultValue;
    }
    void writePreference(const QString &, const QString &, const QString &) override {}
    QString programFolder() override { return QString(); }
    QString userFolder() override { return QString(); }
    void shellOpen(const QString &) override {}
    void exitNow(int) override {}
};
