#include "seem/authoring/SettingFileMerge.h"

#include "core/Conversions.h"
#include "seem/authoring/SettingFileComparison.h"
#include "seem/document/SettingLookup.h"

#include <QHash>

namespace {

using HeaderField = SettingFileDocument::HeaderField;

// What one side did to a setting of the base.
struct SideChange
{
    bool removed = false;
    int record = 0;                                 // its record on that side when changed
    const QVector<RecordField> *fields = nullptr;   // the fields it changed; none when unchanged
};

QVector<SideChange> ChangesOf(const SettingFileComparison &c, int baseCount)
{
    QVector<SideChange> changes(baseCount + 1);
    for (int k : c.removed)
        changes[k].removed = true;
    for (const SettingChange &change : c.changed) {
        changes[change.before].record = change.after;
        changes[change.before].fields = &change.fields;
    }
    return changes;
}

bool Has(const QVector<RecordField> *fields, RecordField field)
{
    return fields && fields->contains(field);
}

void CopyField(SettingStruct &to, const SettingStruct &from, RecordField field)
{
    switch (field) {
    case RecordField::Name:
        to.Name = from.Name;
        break;
    case RecordField::Group:
        to.Group = from.Group;
        break;
    case RecordField::Description:
        to.Description = from.Description;
        break;
    case RecordField::Type:
        to.Type = from.Type;
        break;
    case RecordField::Offset:
        to.Offset = from.Offset;
        break;
    case RecordField::StringLength:
        to.MaxStringLength = from.MaxStringLength;
        break;
    case RecordField::BitMask:
        to.BitMask = from.BitMask;
        break;
    case RecordField::Values:
        to.Values = from.Values;
        break;
    case RecordField::ValueNames:
        to.ValueNames = from.ValueNames;
        break;
    case RecordField::None:
    case RecordField::Author:
    case RecordField::Phones:
        break;
    }
}

QString HeaderText(const SettingFileHeader &header, HeaderField field)
{
    switch (field) {
    case HeaderField::Author:
        return header.Author;
    case HeaderField::Phones:
        return header.Phones;
    case HeaderField::SeemNumber:
        return HexText16(header.SEEMNr);
    case HeaderField::SeemRecord:
        break;
    }
    return HexText16(header.SEEMRec);
}

// The four fields a person edits.
bool SameEditedFields(const SettingFileHeader &a, const SettingFileHeader &b)
{
    return a.Author == b.Author && a.Phones == b.Phones && a.SEEMNr == b.SEEMNr && a.SEEMRec == b.SEEMRec;
}

}   // namespace

SettingFileMerge::SettingFileMerge(const SettingFileContents &base, const SettingFileContents &ours,
                                   const SettingFileContents &theirs)
    : m_base(base), m_ours(ours), m_theirs(theirs)
{
    mergeHeader();
    mergeSettings();
}

void SettingFileMerge::mergeHeader()
{
    m_header = m_base.header;
    const auto merge = [this](HeaderField field, auto SettingFileHeader::*member) {
        const auto &b = m_base.header.*member;
        const auto &o = m_ours.header.*member;
        const auto &t = m_theirs.header.*member;
        if (o != b && t != b && o != t)
            m_headerConflicts.append({field, HeaderText(m_base.header, field), HeaderText(m_ours.header, field),
                                      HeaderText(m_theirs.header, field)});
        m_header.*member = o != b ? o : t;
    };
    merge(HeaderField::Author, &SettingFileHeader::Author);
    merge(HeaderField::Phones, &SettingFileHeader::Phones);
    merge(HeaderField::SeemNumber, &SettingFileHeader::SEEMNr);
    merge(HeaderField::SeemRecord, &SettingFileHeader::SEEMRec);
}

void SettingFileMerge::mergeSettings()
{
    const SettingList &base = m_base.settings;
    const SettingFileComparison byOurs = CompareSettingFiles(m_base.header, base, m_ours.header, m_ours.settings);
    const SettingFileComparison byTheirs = CompareSettingFiles(m_base.header, base, m_theirs.header, m_theirs.settings);
    const QVector<SideChange> oursChanges = ChangesOf(byOurs, int(base.size()));
    const QVector<SideChange> theirsChanges = ChangesOf(byTheirs, int(base.size()));

    m_entries.reserve(base.size() + byOurs.added.size() + byTheirs.added.size());
    for (int k = 1; k <= base.size(); ++k) {
        const SideChange &o = oursChanges.at(k);
        const SideChange &t = theirsChanges.at(k);
        if ((o.removed && (t.removed || !t.fields)) || (t.removed && !o.fields))
            continue;   // removed, and not changed on the other side
        if (o.removed || t.removed) {
            SettingConflict conflict;
            conflict.base = k;
            conflict.ours = o.record;
            conflict.theirs = t.record;
            conflict.fields = o.removed ? *t.fields : *o.fields;
            if (!o.removed)
                conflict.asOurs = m_ours.settings.at(o.record - 1);
            else
                conflict.asTheirs = m_theirs.settings.at(t.record - 1);
            conflict.name = SettingPathOf(conflict.asOurs ? *conflict.asOurs : *conflict.asTheirs);
            m_entries.append({From::Conflict, int(m_conflicts.size())});
            m_conflicts.append(std::move(conflict));
            continue;
        }
        if (!o.fields || !t.fields) {
            // One side's record as it stands, or the base's when neither changed it.
            m_entries.append(o.fields   ? Entry{From::Ours, o.record - 1}
                             : t.fields ? Entry{From::Theirs, t.record - 1}
                                        : Entry{From::Base, k - 1});
            continue;
        }
        SettingStruct merged = base.at(k - 1);
        for (RecordField field : *o.fields)
            CopyField(merged, m_ours.settings.at(o.record - 1), field);
        QVector<RecordField> clashes;
        const SettingStruct &theirs = m_theirs.settings.at(t.record - 1);
        // Fields both changed: taking theirs' others does not touch them.
        const QVector<RecordField> differ = DifferingFields(merged, theirs);
        for (RecordField field : *t.fields) {
            if (!Has(o.fields, field))
                CopyField(merged, theirs, field);
            else if (differ.contains(field))
                clashes.append(field);
        }
        if (clashes.isEmpty()) {
            m_entries.append({From::Made, int(m_made.size())});
            m_made.append(std::move(merged));
            continue;
        }
        SettingConflict conflict{k, o.record, t.record, SettingPathOf(merged), clashes, merged, merged};
        for (RecordField field : clashes)
            CopyField(*conflict.asTheirs, theirs, field);
        m_entries.append({From::Conflict, int(m_conflicts.size())});
        m_conflicts.append(std::move(conflict));
    }
    addAdditions(byOurs.added, byTheirs.added);
}

void SettingFileMerge::addAdditions(const QVector<int> &oursAdded, const QVector<int> &theirsAdded)
{
    // One name added on both sides is one setting; first with first, as the comparison pairs them.
    QHash<QString, QList<int>> theirsByName;
    for (int k : theirsAdded)
        theirsByName[SettingPathOf(m_theirs.settings.at(k - 1))].append(k);
    QVector<bool> paired(m_theirs.settings.size() + 1, false);
    for (int k : oursAdded) {
        const SettingStruct &ours = m_ours.settings.at(k - 1);
        const auto it = theirsByName.find(SettingPathOf(ours));
        const int partner = it == theirsByName.end() || it->isEmpty() ? 0 : it->takeFirst();
        const QVector<RecordField> fields =
            partner ? DifferingFields(ours, m_theirs.settings.at(partner - 1)) : QVector<RecordField>();
        if (partner)
            paired[partner] = true;
        if (fields.isEmpty()) {
            m_entries.append({From::Ours, k - 1});
            continue;
        }
        const SettingStruct &theirs = m_theirs.settings.at(partner - 1);
        m_entries.append({From::Conflict, int(m_conflicts.size())});
        m_conflicts.append({0, k, partner, SettingPathOf(ours), fields, ours, theirs});
    }
    for (int k : theirsAdded)
        if (!paired[k])
            m_entries.append({From::Theirs, k - 1});
}

SettingFileContents SettingFileMerge::result(MergeSide side) const
{
    return result(QVector<MergeSide>(m_conflicts.size(), side), QVector<MergeSide>(m_headerConflicts.size(), side));
}

SettingFileContents SettingFileMerge::result(const QVector<MergeSide> &settingChoices,
                                             const QVector<MergeSide> &headerChoices) const
{
    const auto choice = [](const QVector<MergeSide> &choices, int i) {
        return i < choices.size() ? choices.at(i) : MergeSide::Ours;
    };
    SettingFileContents merged;
    merged.header = m_header;
    for (int i = 0; i < m_headerConflicts.size(); ++i) {
        if (choice(headerChoices, i) == MergeSide::Ours)
            continue;
        switch (m_headerConflicts.at(i).field) {
        case HeaderField::Author:
            merged.header.Author = m_theirs.header.Author;
            break;
        case HeaderField::Phones:
            merged.header.Phones = m_theirs.header.Phones;
            break;
        case HeaderField::SeemNumber:
            merged.header.SEEMNr = m_theirs.header.SEEMNr;
            break;
        case HeaderField::SeemRecord:
            merged.header.SEEMRec = m_theirs.header.SEEMRec;
            break;
        }
    }
    merged.settings.reserve(m_entries.size());
    for (const Entry &entry : m_entries) {
        switch (entry.from) {
        case From::Base:
            merged.settings.append(m_base.settings.at(entry.index));
            break;
        case From::Ours:
            merged.settings.append(m_ours.settings.at(entry.index));
            break;
        case From::Theirs:
            merged.settings.append(m_theirs.settings.at(entry.index));
            break;
        case From::Made:
            merged.settings.append(m_made.at(entry.index));
            break;
        case From::Conflict:
            if (const auto record = m_conflicts.at(entry.index).chosen(choice(settingChoices, entry.index)))
                merged.settings.append(*record);
            break;
        }
    }
    // One of the three as it was is that file, to the byte.
    for (const SettingFileContents *input : {&m_base, &m_ours, &m_theirs})
        if (SameEditedFields(merged.header, input->header) && merged.settings == input->settings)
            return *input;
    merged.header.ProgramVersion = VersionString();
    merged.header.SettingCount = qint32(merged.settings.size());
    merged.trailing = m_ours.trailing != m_base.trailing ? m_ours.trailing : m_theirs.trailing;
    return merged;
}
