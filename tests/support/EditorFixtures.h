#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/ReferenceImages.h"
#include "seem/authoring/SettingFileDocument.h"
#include "support/ScriptedPlatform.h"
#include "ui/AppContext.h"

#include <QObject>
#include <QString>

#include <functional>

class QDialog;
class QTimer;
class QWidget;

// A scripted platform and a program context with the shipped English language file, and
// a document and images for a setting dialog of its own.
struct EditorFixture
{
    EditorFixture();
    ScriptedPlatform platform;
    AppContext ctx{platform};
    SettingFileDocument document;
    ReferenceImageSet images;
};

// Acts on the next modal dialog once it shows (the caller then opens it with exec()).
// act must close it; if it does not, the dialog is hidden and the test fails, so a
// forgotten answer cannot hang the run.
void OnNextModal(std::function<void(QDialog *dialog)> act);

// Confirms the entry named language in the language dialog once it shows.
void ChooseLanguageOnNextModal(const QString &language);

// Notices a modal dialog that should not have opened: closes it and remembers it.
class UnexpectedModalGuard : public QObject
{
public:
    UnexpectedModalGuard();
    bool opened = false;

private:
    QTimer *m_timer;
};

// A record with the fields that identify it in tests.
SettingStruct MakeSetting(const QString &name, const QString &group, SettingType type, qint32 offset = 0);

class bvlEditSetting;
// Puts records into the editor as a file just read would be: listed, nothing unsaved.
void PutRecords(bvlEditSetting &editor, const SettingList &records);

// Sends a key press to widget (Escape, Enter, ...).
void PressKey(QWidget *widget, int key);
