#pragma once
#include <QString>
#include <QStringList>

class ImageSurvey;
class QWidget;
struct AppContext;

// Reads paths into survey one image at a time, with a progress window and Cancel once it
// takes longer than a moment; names the images left out, with their reasons, in one
// message. False when cancelled, or when the survey failed (said in a message that names
// command, the item that ran it). title is the key of the progress window's title.
bool RunSurvey(AppContext &ctx, QWidget *parent, ImageSurvey &survey, const QStringList &paths, const QString &title,
               const QString &command);
