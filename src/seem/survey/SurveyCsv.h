#pragma once
#include "seem/values/SettingValueText.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>
#include <QVector>

class ImageSurvey;

// A survey as CSV (RFC 4180, CRLF): a header row "setting" and the file name of every image
// used, then a row per setting, GROUP\NAME and its value in each image as show prints it.
// brimvale-cli survey --format csv and the survey window's export write the same.

// A value as show prints it: the words, or the reason in parentheses.
QString SurveyValueText(const ValueText &value);
// The settings (0-based) of the survey, or only those that vary.
QVector<int> SurveySettings(const ImageSurvey &survey, bool varyingOnly);
// The CSV of the given settings, written in pieces so that a large survey is never one text.
void WriteSurveyCsv(const ImageSurvey &survey, const QVector<int> &settings, QTextStream &out);
// The CSV in UTF-8, for a file.
QByteArray SurveyCsv(const ImageSurvey &survey, bool varyingOnly);
