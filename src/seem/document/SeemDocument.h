#pragma once
#include "core/BvlError.h"
#include "core/SettingTypes.h"
#include "seem/files/SeemFile.h"
#include "seem/profiles/ValueProfile.h"
#include "seem/values/SettingState.h"
#include "seem/values/TypedValueCheck.h"

#include <QBitArray>
#include <QObject>
#include <QPair>
#include <QString>
#include <QVector>

#include <memory>

// A save or an export that failed at one setting: the number of the failure and which
// setting it was, so that a window can show that setting to the user.
class SettingWriteError : public BvlError
{
public:
    SettingWriteError(int index, const BvlError &cause)
        : BvlError(cause.number(), QString::fromStdString(cause.what())), settingIndex(index)
    {}
    int settingIndex;
};

// The open SEEM file and the setting file that gives its bytes meaning, with every
// setting's value as read from the file and as edited: the one truth the main window's
// tree and pages show and the command line's show, set, apply, diff and export use.
//
// Settings are numbered from 1, in setting-file order, and keep the names the setting
// file gives them; fullName() is 'GROUP\NAME' as every door writes it. A value is a
// ControlState, what a setting's control shows. "Changed" means the edited value differs
// from the one the last restore or save read from the file; a setting that could not be
// read never differs, and one of an unknown type is never written, so neither ever counts.
class SeemDocument : public QObject
{
    Q_OBJECT
public:
    explicit SeemDocument(QObject *parent = nullptr);
    ~SeemDocument() override;

    // Takes an opened SEEM file (null keeps the open one) and a read setting file; nothing
    // is restored yet. Emits documentReset().
    void load(std::unique_ptr<SeemFile> file, const QString &settingPath, const SettingFileHeader &header,
              const SettingList &settings);
    // Another file with the same bytes takes the place of the open one (a copy saved
    // elsewhere); the edits stay.
    void replaceFile(std::unique_ptr<SeemFile> file);
    void close();

    bool isOpen() const { return m_file->isOpen(); }
    SeemFile &file() { return *m_file; }
    const SeemFile &file() const { return *m_file; }
    const SeemFile *filePointer() const { return m_file.get(); }
    // Empty while no file is open.
    QString seemPath() const { return m_file ? m_file->path() : QString(); }
    const QString &settingPath() const { return m_settingPath; }
    const SettingFileHeader &header() const { return m_header; }
    const SettingList &settings() const { return m_settings; }
    int count() const { return int(m_settings.size()); }
    const SettingStruct &setting(int index) const { return m_settings.at(index - 1); }
    // 'GROUP\NAME', the group as the setting file has it (blanks around its elements aside).
    QString fullName(int index) const;

    // The value as edited, and as the file holds it.
    const ControlState &state(int index) const { return m_edited.at(index - 1); }
    const ControlState &original(int index) const { return m_restored.restored(index); }
    bool isRestored(int index) const { return m_restored.isRestored(index); }
    const SettingStates &restoredStates() const { return m_restored; }
    bool isChanged(int index) const { return m_changed.testBit(index - 1); }
    int changedCount() const { return m_changedCount; }
    bool isModified() const { return m_changedCount > 0; }
    QVector<int> changedSettings() const;

    // Edits: the values are taken as they are (a save checks them); an edit of a setting
    // that could not be read is kept but never written.
    void setState(int index, const ControlState &state);
    void setStates(const QVector<QPair<int, ControlState>> &states);

    // Reads settings from the file again; a setting that fails is marked unrestorable.
    struct RestoreFailure
    {
        int index = 0;   // the first failing setting, 0 when all restored
        int error = 0;
    };
    RestoreFailure restore(const QVector<int> &indexes);
    RestoreFailure restoreAll();
    QVector<int> allSettings() const;
    // The settings whose group is exactly group (not its subgroups), in setting order.
    QVector<int> settingsOfGroup(const QString &group) const;

    // Writes the edited value of setting index into target; an unknown type writes nothing.
    void encode(int index, ByteStore &target) const;
    // Every changed setting encoded into target; throws SettingWriteError.
    QVector<int> encodeChanged(ByteStore &target) const;
    // What is wrong with the edited text of setting index; None when it is unchanged.
    TypedValueProblem typedValueProblem(int index) const;
    // The first changed setting whose value cannot be written, 0 for none.
    int firstUnwritable() const;

    // Settings a save of the changed ones would change too (bytes shared with them).
    QVector<QPair<int, ControlState>> settingsASaveAlsoChanges();
    // The journaled save of every changed setting. Throws 621/622 before anything is
    // written, SettingWriteError naming the first setting that cannot be encoded (nothing
    // written), SaveError from the journaled save. The written settings and those sharing
    // their bytes read what the file now holds. Returns the number of settings written.
    int save();

    // The profile of the edited values (what a save would leave in the file); unreadable,
    // when given, receives the number of settings whose bytes could not be read.
    QByteArray profileJson(int *unreadable = nullptr);
    // Writes pending, bytes encoded on top of the file (the command line's assignments),
    // through the journaled save; the settings read what the file then holds.
    void saveBytes(PendingWrites &pending);
    // A profile's values as the states they give, encoded on top of the edited values
    // as a save would write them and read back. Nothing of the document changes.
    struct ProfileStates
    {
        QVector<QPair<int, ControlState>> states;   // the settings whose value changes
        QVector<AssignmentProblem> problems;        // names and values refused
        QVector<int> unrestorable;                  // settings that could not be read
        QVector<QPair<int, int>> failed;            // (setting, error) that cannot be encoded
        bool accepted() const { return problems.isEmpty() && unrestorable.isEmpty() && failed.isEmpty(); }
    };
    // Throws SettingWriteError when an edited value cannot be encoded.
    ProfileStates profileStates(const QVector<ValueAssignment> &assignments);

signals:
    // A new document (or none) is loaded: every view builds itself again.
    void documentReset();
    // Values of these settings changed (edit, restore, save, undo); isModified() and
    // changedCount() may have changed with them.
    void statesChanged(const QVector<int> &indexes);

private:
    void updateChanged(int index);
    void finishChange(const QVector<int> &indexes);

    std::unique_ptr<SeemFile> m_file;   // never null: closed while no document is open
    QString m_settingPath;
    SettingFileHeader m_header;
    SettingList m_settings;
    SettingStates m_restored;
    QVector<ControlState> m_edited;
    QBitArray m_changed;
    int m_changedCount = 0;
};

// The five types a save can write.
bool IsKnownSettingType(const SettingStruct &setting);
