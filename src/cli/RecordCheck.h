#pragma once
#include "cli/Inputs.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>

// A setting file for another record than an image's name carries: the commands that write
// refuse it unless --any-record says the user means it, the commands that only read say it.

QCommandLineOption AnyRecordOption();

// Throws CliError naming both numbers when settingFile is written for another SEEM or
// record than imagePath's name carries and --any-record is not given.
void RequireImageRecord(const LoadedSettingFile &settingFile, const QString &imagePath,
                        const QCommandLineParser &parser);

// A warning on err for each image whose name carries other numbers than settingFile.
void WarnOtherRecord(const LoadedSettingFile &settingFile, const QStringList &imagePaths, QTextStream &err);
