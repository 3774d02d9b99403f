#pragma once
#include "seem/values/SettingState.h"

#include <QByteArray>
#include <QPair>
#include <QVector>

class ChangeSteps;
class SeemDocument;
struct AppContext;

// Values that travel between phones: the document's values written as a profile (the
// JSON that `brimvale-cli show --format json` prints and `apply` takes) and a profile's
// values read onto the document's, under the setting file's own names. It asks for the
// files and reports what fails; the window puts applied values into the controls and
// shows a setting that cannot be written.
class ValueProfiles
{
public:
    ValueProfiles(AppContext &ctx, SeemDocument &document, ChangeSteps &steps);

    // The profile of the document's values (what a save would leave in the file).
    // Throws SettingWriteError for a value that cannot be encoded.
    QByteArray Profile();
    // Asks for a file and writes the profile there; failures are reported. The setting
    // whose value cannot be written, to be shown; 0 otherwise.
    int Export();

    // What a profile would change: the states to put into the controls as one step, or
    // the setting to show when a value cannot be encoded.
    struct Applied
    {
        QVector<QPair<int, ControlState>> states;
        int failedSetting = 0;
    };
    // Asks for a profile and reads it onto the document's values. When any name or value
    // is refused the refusals are listed in one message and nothing is applied.
    Applied Apply();

private:
    AppContext &m_ctx;
    SeemDocument &m_document;
    ChangeSteps &m_steps;
};
