#pragma once
#include <QString>

class SaveError;
class Wording;
struct JournalNotice;

// What a door tells about saves of a SEEM file, worded once for the windows (the user's
// language) and the command line (English): an interrupted save found when the file was
// opened, and a save that did not happen. Files are named in double quotes; the system's
// reason follows as it came.

// Empty when the open found no journal; a put-back whose journal cannot be deleted adds
// a second line.
QString JournalNoticeText(Wording &words, const JournalNotice &notice);
QString SaveFailureText(Wording &words, const SaveError &error);
