#pragma once
#include "seem/survey/ImageSurvey.h"

#include <QString>

class Wording;

// Why the survey left an image out, worded once for the window and the command line: an
// image of another size or another record in the language's words; an unreadable one in
// the words the door gives every file its readers refuse (unreadable).
QString SurveyLeftOutText(Wording &words, const ImageSurvey &survey, const SurveyImage &image,
                          const QString &unreadable);
