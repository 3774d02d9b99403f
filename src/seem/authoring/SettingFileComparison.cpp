#include "seem/authoring/SettingFileComparison.h"

#include "seem/document/SettingLookup.h"

#include <QHash>

namespace {

using HeaderField = SettingFileDocument::HeaderField;

// Records of one file by a key, each key's records in file order, taken from the front.
// A chain per key through one array: no list of its own for each of thousands of keys.
template<typename Key> class Pool
{
public:
    // records: the file's count; keys: how many are added at most.
    Pool(qsizetype records, qsizetype keys) : m_next(records + 1, 0) { m_chains.reserve(keys); }
    void add(const Key &key, int record)
    {
        Chain &chain = m_chains[key];
        if (chain.first == 0)
            chain.first = record;
        else
            m_next[chain.last] = record;
        chain.last = record;
    }
    // The first record of key not taken yet, 0 when none is left.
    int take(const Key &key)
    {
        const auto it = m_chains.find(key);
        if (it == m_chains.end() || it->first == 0)
            return 0;
        const int record = it->first;
        it->first = m_next[record];
        return record;
    }

private:
    struct Chain
    {
        int first = 0;
        int last = 0;
    };
    QHash<Key, Chain> m_chains;
    QVector<int> m_next;   // record -> the next record of its key, 0 at the end
};

using Place = QPair<int, qint32>;   // type, offset

Place PlaceOf(const SettingStruct &s)
{
    return {s.Type, s.Offset};
}

}   // namespace

QString HeaderFieldName(SettingFileDocument::HeaderField field)
{
    switch (field) {
    case HeaderField::Author:
        return QStringLiteral("Author");
    case HeaderField::Phones:
        return QStringLiteral("Phones");
    case HeaderField::SeemNumber:
        return QStringLiteral("SEEMNr");
    case HeaderField::SeemRecord:
        break;
    }
    return QStringLiteral("SEEMRec");
}

QVector<RecordField> DifferingFields(const SettingStruct &a, const SettingStruct &b)
{
    QVector<RecordField> fields;
    const auto differ = [&fields](bool different, RecordField field) {
        if (different)
            fields.append(field);
    };
    differ(a.Name != b.Name, RecordField::Name);
    differ(a.Group != b.Group, RecordField::Group);
    differ(a.Description != b.Description, RecordField::Description);
    differ(a.Type != b.Type, RecordField::Type);
    differ(a.Offset != b.Offset, RecordField::Offset);
    differ(a.MaxStringLength != b.MaxStringLength, RecordField::StringLength);
    differ(a.BitMask != b.BitMask, RecordField::BitMask);
    differ(a.Values != b.Values, RecordField::Values);
    differ(a.ValueNames != b.ValueNames, RecordField::ValueNames);
    return fields;
}

SettingFileComparison CompareSettingFiles(const SettingFileHeader &oldHeader, const SettingList &oldSettings,
                                          const SettingFileHeader &newHeader, const SettingList &newSettings)
{
    SettingFileComparison result;
    if (oldHeader.Author != newHeader.Author)
        result.header.append(HeaderField::Author);
    if (oldHeader.Phones != newHeader.Phones)
        result.header.append(HeaderField::Phones);
    if (oldHeader.SEEMNr != newHeader.SEEMNr)
        result.header.append(HeaderField::SeemNumber);
    if (oldHeader.SEEMRec != newHeader.SEEMRec)
        result.header.append(HeaderField::SeemRecord);

    // By full name first.
    Pool<QString> byName(oldSettings.size(), oldSettings.size());
    for (int k = 1; k <= oldSettings.size(); ++k)
        byName.add(SettingPathOf(oldSettings.at(k - 1)), k);
    QVector<int> partner(newSettings.size() + 1, 0);   // new record -> old record
    QVector<bool> matched(oldSettings.size() + 1, false);
    qsizetype matchedCount = 0;
    for (int k = 1; k <= newSettings.size(); ++k)
        if (const int old = byName.take(SettingPathOf(newSettings.at(k - 1)))) {
            partner[k] = old;
            matched[old] = true;
            ++matchedCount;
        }
    // The rest by type and offset: a setting renamed where it stands.
    Pool<Place> byPlace(oldSettings.size(), oldSettings.size() - matchedCount);
    for (int k = 1; k <= oldSettings.size(); ++k)
        if (!matched[k])
            byPlace.add(PlaceOf(oldSettings.at(k - 1)), k);
    QVector<bool> renamed(newSettings.size() + 1, false);
    for (int k = 1; k <= newSettings.size(); ++k)
        if (partner[k] == 0)
            if (const int old = byPlace.take(PlaceOf(newSettings.at(k - 1)))) {
                partner[k] = old;
                matched[old] = true;
                renamed[k] = true;
            }

    for (int k = 1; k <= newSettings.size(); ++k) {
        if (partner[k] == 0) {
            result.added.append(k);
            continue;
        }
        const QVector<RecordField> fields = DifferingFields(oldSettings.at(partner[k] - 1), newSettings.at(k - 1));
        if (!fields.isEmpty() || renamed[k])
            result.changed.append(SettingChange{partner[k], k, renamed[k], fields});
    }
    for (int k = 1; k <= oldSettings.size(); ++k)
        if (!matched[k])
            result.removed.append(k);
    return result;
}
