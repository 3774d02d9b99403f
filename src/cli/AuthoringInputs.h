#pragma once
#include "cli/Inputs.h"

#include <QByteArray>

class ImageSurvey;
struct SurveyImage;
#include <QTextStream>

// What propose and map read: whole images, and a setting file that may not exist yet.

// The image's bytes; a failure becomes a CliError naming the file.
QByteArray ReadImageForCommand(const QString &path);

// A CliError unless both images are of one size, as the images of one record are.
void CheckSameRecordSize(const QString &imagePath, const QByteArray &image, const QString &otherPath,
                         const QByteArray &other);

// The setting file of --sec, else the automatic choice for the image's name in the
// folders SettingFolders names, else an empty one written for the SEEM and record number
// the name carries (path empty then; a note on context.err says so).
LoadedSettingFile SettingFileOrEmpty(const QString &imagePath, const QCommandLineParser &parser,
                                     const CommandContext &context);

// Why a survey of images (survey, propose over many) left an image out, in the words of
// the command line.
QString SurveyLeftOutReason(const ImageSurvey &survey, const SurveyImage &image);
