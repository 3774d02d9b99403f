#pragma once
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QTextStream>

// Where a command writes and what it may look at. Streams are passed in, so that the
// tests run commands in-process and read what they print.
struct CommandContext
{
    QTextStream &out;
    QTextStream &err;
    QString programFolder;   // the folder of the executable: setting files are looked for there
    QString userFolder;      // the user's own setting files, looked for first; empty for none
};

struct PositionalArgument
{
    QString name;   // as shown in the help, such as IMAGE
    QString description;
    QString syntax;   // in the usage line, such as "ASSIGNMENT..."; the name when empty
};

// One command of brimvale-cli: its name, what it does, what it takes, and running it.
class Command
{
public:
    virtual ~Command() = default;
    virtual QString name() const = 0;
    virtual QString summary() const = 0;       // one line for the program's list of commands
    virtual QString description() const = 0;   // paragraphs for the command's own help
    virtual QList<PositionalArgument> arguments() const = 0;
    virtual QList<QCommandLineOption> options() const { return {}; }
    // How many positional arguments it takes; maximum -1 for no limit.
    virtual int minimumArguments() const { return arguments().size(); }
    virtual int maximumArguments() const { return arguments().size(); }

    // Runs with the parsed command line; returns the exit status or throws CliError.
    virtual int execute(const QCommandLineParser &parser, CommandContext &context) = 0;
};
