#pragma once
#include <QCommandLineOption>
#include <QString>

// --code-page, which every command takes: the 8-bit code page of setting files and of
// ANSI string settings for this run (Windows-1252 when absent).
QCommandLineOption CodePageOption();

// The code page a --code-page value names ("1251", "windows-1251", "cp1251", any letter
// case); 0 when it names none that is offered.
int CodePageOfOption(const QString &value);

// "1252, 1250, ..." for messages and the help.
QString OfferedCodePages();
