#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/SettingFileDocument.h"
#include "seem/authoring/SettingFitCheck.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <optional>

// A three-way merge of setting files: a base and two versions changed from it ("ours" and
// "theirs"), as git merges shared files.
//
// Settings are matched as CompareSettingFiles matches them, base with ours and base with
// theirs, and merged field by field: a change on one side is taken, the same change on both
// sides is taken once. Two different changes of one field, a change on one side of a
// setting the other removed, and one name added on both sides with different fields are
// conflicts; so are two different changes of a header field. The merged file keeps the
// base's order, then the settings ours added, then those theirs added (one added on both
// sides the same stands once, among ours).
//
// What is written: when the merged file is one of the three, setting for setting and in
// its order, with the same header fields, it is that file to the byte (its stored program
// version and the bytes after its last record included), so that a merge in which nothing
// changed gives back the base. Any other result is a new file and carries this program's
// version, as a save stamps it; the bytes after the last record are taken from the side
// that changed them (ours when both did, as no reader uses them).
//
// The cost grows linearly with the three files.

// A setting file as read: enough to write it back byte for byte.
struct SettingFileContents
{
    SettingFileHeader header;
    SettingList settings;
    QByteArray trailing;   // the bytes after the last record
};

enum class MergeSide {
    Ours,
    Theirs
};

// A setting the two sides changed in different ways.
struct SettingConflict
{
    int base = 0;     // 1-based record in each file; 0 where that file has none
    int ours = 0;     // (0 in ours: removed there, or added by theirs only)
    int theirs = 0;   // (0 in base: added on both sides)
    QString name;     // the full name, ours' where ours has it
    // The fields both sides changed differently; for a setting removed on one side, the
    // fields the other changed.
    QVector<RecordField> fields;
    // What choosing a side makes of the setting: the other side's changes to the other
    // fields stay taken; nothing when that side removed it.
    std::optional<SettingStruct> chosen(MergeSide side) const { return side == MergeSide::Ours ? asOurs : asTheirs; }

    std::optional<SettingStruct> asOurs;
    std::optional<SettingStruct> asTheirs;
};

// A header field the two sides changed in different ways, with its texts as the setting
// editor shows them (the numbers in hexadecimal).
struct HeaderConflict
{
    SettingFileDocument::HeaderField field = SettingFileDocument::HeaderField::Author;
    QString base;
    QString ours;
    QString theirs;
};

class SettingFileMerge
{
public:
    SettingFileMerge(const SettingFileContents &base, const SettingFileContents &ours,
                     const SettingFileContents &theirs);

    // Setting by setting in the merged order.
    const QVector<SettingConflict> &conflicts() const { return m_conflicts; }
    const QVector<HeaderConflict> &headerConflicts() const { return m_headerConflicts; }
    bool hasConflicts() const { return !m_conflicts.isEmpty() || !m_headerConflicts.isEmpty(); }

    // The merged file with every conflict resolved to side.
    SettingFileContents result(MergeSide side = MergeSide::Ours) const;
    // The merged file with conflict i resolved to settingChoices[i] and header conflict i
    // to headerChoices[i]; a conflict without a choice goes to ours.
    SettingFileContents result(const QVector<MergeSide> &settingChoices, const QVector<MergeSide> &headerChoices) const;

private:
    // A setting of the merged file: a record of one of the files, one made by the merge,
    // or the place of a conflict. Records are not copied until a result is asked for.
    enum class From : quint8 {
        Base,
        Ours,
        Theirs,
        Made,
        Conflict
    };
    struct Entry
    {
        From from;
        int index;   // 0-based in that list, or the conflict's
    };

    void mergeHeader();
    void mergeSettings();
    void addAdditions(const QVector<int> &oursAdded, const QVector<int> &theirsAdded);

    SettingFileContents m_base, m_ours, m_theirs;
    SettingFileHeader m_header;   // the header fields merged, conflicts as ours
    QVector<Entry> m_entries;
    SettingList m_made;   // records that took changes of both sides
    QVector<SettingConflict> m_conflicts;
    QVector<HeaderConflict> m_headerConflicts;
};
