#pragma once
#include <QString>

// What brimvale-cli returns to the shell.
enum ExitStatus {
    ExitSuccess = 0,
    ExitRefused = 1,    // a refused operation or a difference found; nothing was written
    ExitBadUsage = 2,   // unknown command or option, missing or extra arguments
};

// Ends a command with a message for standard error; the runner prints it and returns
// status. Commands throw it instead of printing half a result.
class CliError
{
public:
    explicit CliError(const QString &message, ExitStatus status = ExitRefused) : m_message(message), m_status(status) {}
    const QString &message() const { return m_message; }
    ExitStatus status() const { return m_status; }

private:
    QString m_message;
    ExitStatus m_status;
};
