#pragma once
#include "core/BvlError.h"
#include "core/SettingTypes.h"

#include <QByteArray>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QTextStream>

class SeemFile;
struct CommandContext;

// What the commands read and write, with every failure turned into a CliError that
// names the file.

QCommandLineOption SecOption();
QCommandLineOption SecDirOption();
QCommandLineOption FormatOption();
QCommandLineOption DryRunOption();

enum class OutputFormat {
    Text,
    Json
};
// --format text|json; anything else is bad usage.
OutputFormat FormatOf(const QCommandLineParser &parser);

struct LoadedSettingFile
{
    QString path;
    SettingFileHeader header;
    SettingList settings;
    QByteArray trailing;   // the bytes after the last record, for writing the file back as it was
};

// Reads a setting file without looking at its header (check and export take any).
LoadedSettingFile ReadSettingFileAsIs(const QString &path);
// Reads and checks a setting file as the windows do (magic "sec", format version 3).
LoadedSettingFile LoadSettingFile(const QString &path);

// Where the automatic choice looks: the folder of --sec-dir alone, or else the per-user
// folder and then the program folder, as the main window does.
QStringList SettingFolders(const QCommandLineParser &parser, const CommandContext &context);

// The setting file named by --sec, or else the one the main window's automatic choice
// takes for the image's file name from SettingFolders.
LoadedSettingFile SettingFileForImage(const QString &imagePath, const QCommandLineParser &parser,
                                      const CommandContext &context);

// Opens a SEEM image, for writing or for reading only. What the open found of an
// interrupted save (put back, or a journal left alone) is told on err.
void OpenImage(SeemFile &image, const QString &path, bool forWriting, QTextStream &err);

// What a file failure means, such as "does not exist".
QString FileErrorText(const BvlError &e);
// The same for a failure of a reader, with the reason it gives ("is a FIFO, not a
// regular file", "cannot be read (Permission denied)").
QString ReadErrorText(const BvlError &e);

// The regular file at path, refused when larger than maxBytes (RegularFile.h).
QByteArray ReadWholeFile(const QString &path, qint64 maxBytes);
// Refuses an output that is the input file itself (same device and inode): it would be
// overwritten by what was made from it.
void RequireSeparateOutput(const QString &inputPath, const QString &outputPath);
// Replaces the file at path as a whole or not at all through the one output check
// (OutputTarget.h): refuses a path that is one of inputs, or a FIFO, device or folder,
// and says why a write failed in the system's words.
void WriteWholeFile(const QString &path, const QByteArray &bytes, const QStringList &inputs = {});

// The JSON form of a setting file, into the file named by the option "output" when it is
// set, else onto out.
// The output is refused when it is one of inputs.
void WriteSettingFileJson(const QCommandLineParser &parser, QTextStream &out, const SettingFileHeader &header,
                          const SettingList &settings, const QStringList &inputs = {});

// 'GROUP\NAME (#N)': how messages name setting N (1-based).
QString SettingLabel(const SettingList &settings, int index);
