#pragma once

struct AppContext;
struct JournalNotice;
class SaveError;

// What the main window tells about saves of a SEEM file: an interrupted save found when
// the file was opened, and a save that did not happen, in the user's language
// (seem/files/SaveNoticeTexts.h words them for the command line too).

// Nothing when the open found no journal.
void ReportJournalNotice(AppContext &ctx, const JournalNotice &notice);
void ReportSaveError(AppContext &ctx, const SaveError &error);
