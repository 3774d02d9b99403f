#include "seem/document/SeemDocument.h"

#include "core/Conversions.h"
#include "seem/document/AlsoChanged.h"
#include "seem/document/SettingLookup.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/values/SettingCodec.h"

#include <QFileInfo>
#include <numeric>
#include <optional>

namespace {
// The number the platform gives a list without a selected entry.
constexpr int NoEntrySelected = 381;
// From this many settings on, a restore reads the image once.
constexpr int WholeImageRestore = 32;

// The value of list entry position of setting s: name k takes value k.
qint32 ListValueAt(const SettingStruct &s, int position)
{
    const QStringList names = SplitValues(s.ValueNames);
    const QStringList values = SplitValues(s.Values);
    if (position < 0 || position >= names.size())
        throw BvlError(NoEntrySelected, QStringLiteral("no list entry selected"));
    if (position >= values.size())
        throw BvlError(ErrNo::TypeMismatch, QStringLiteral("fewer values than names"));
    return DecimalToLong(values.at(position));
}
}   // namespace

bool IsKnownSettingType(const SettingStruct &setting)
{
    return setting.Type <= quint8(SettingType::UnicodeString);
}

SeemDocument::SeemDocument(QObject *parent) : QObject(parent), m_file(std::make_unique<SeemFile>()) {}

SeemDocument::~SeemDocument() = default;

void SeemDocument::load(std::unique_ptr<SeemFile> file, const QString &settingPath, const SettingFileHeader &header,
                        const SettingList &settings)
{
    if (file) {
        if (m_file)
            m_file->close();
        m_file = std::move(file);
    }
    m_settingPath = settingPath;
    m_header = header;
    m_settings = settings;
    m_restored.reset(m_settings.size());
    m_edited = QVector<ControlState>(m_settings.size());
    m_changed = QBitArray(m_settings.size());
    m_changedCount = 0;
    emit documentReset();
}

void SeemDocument::replaceFile(std::unique_ptr<SeemFile> file)
{
    if (m_file)
        m_file->close();
    m_file = std::move(file);
}

void SeemDocument::close()
{
    m_file->close();
    m_settings.clear();
    m_restored.reset(0);
    m_edited.clear();
    m_changed.clear();
    m_changedCount = 0;
    emit documentReset();
}

QString SeemDocument::fullName(int index) const
{
    return SettingPathOf(setting(index));
}

QVector<int> SeemDocument::changedSettings() const
{
    QVector<int> changed;
    changed.reserve(m_changedCount);
    for (int index = 1; index <= count() && changed.size() < m_changedCount; ++index)
        if (m_changed.testBit(index - 1))
            changed.append(index);
    return changed;
}

void SeemDocument::updateChanged(int index)
{
    const bool changed = IsKnownSettingType(setting(index)) && m_restored.differs(index, m_edited.at(index - 1));
    if (m_changed.testBit(index - 1) == changed)
        return;
    m_changed.setBit(index - 1, changed);
    m_changedCount += changed ? 1 : -1;
}

void SeemDocument::finishChange(const QVector<int> &indexes)
{
    if (!indexes.isEmpty())
        emit statesChanged(indexes);
}

void SeemDocument::setState(int index, const ControlState &state)
{
    setStates({{index, state}});
}

void SeemDocument::setStates(const QVector<QPair<int, ControlState>> &states)
{
    QVector<int> indexes;
    for (const auto &[index, state] : states) {
        if (index < 1 || index > count() || m_edited.at(index - 1) == state)
            continue;
        m_edited[index - 1] = state;
        updateChanged(index);
        indexes.append(index);
    }
    finishChange(indexes);
}

QVector<int> SeemDocument::allSettings() const
{
    QVector<int> indexes(count());
    std::iota(indexes.begin(), indexes.end(), 1);
    return indexes;
}

QVector<int> SeemDocument::settingsOfGroup(const QString &group) const
{
    const QString wanted = NormalisedGroup(group);
    QVector<int> indexes;
    for (int index = 1; index <= count(); ++index)
        if (NormalisedGroup(setting(index).Group) == wanted)
            indexes.append(index);
    return indexes;
}

SeemDocument::RestoreFailure SeemDocument::restore(const QVector<int> &indexes)
{
    // Many settings are decoded from one read of the whole image rather than one read each.
    std::optional<MemoryByteStore> image;
    if (indexes.size() >= WholeImageRestore) {
        try {
            image.emplace(m_file->read(0, m_file->size()));
        } catch (const BvlError &) {
            // Read setting by setting then, each failure its own.
        }
    }
    ByteStore &source = image ? static_cast<ByteStore &>(*image) : *m_file;
    RestoreFailure first;
    for (int index : indexes) {
        const SettingStruct &s = setting(index);
        try {
            // An unknown type keeps what it shows and is never written.
            const ControlState state =
                IsKnownSettingType(s) ? DecodeControlState(source, s) : ControlState::ListPosition(-1);
            m_restored.setRestored(index, state);
            m_edited[index - 1] = state;
        } catch (const BvlError &e) {
            // Shows nothing the file does not hold, and takes no edit that a save would write.
            m_restored.setUnrestorable(index);
            m_edited[index - 1] = ControlState();
            if (first.index == 0)
                first = RestoreFailure{index, e.number()};
        }
        updateChanged(index);
    }
    finishChange(indexes);
    return first;
}

SeemDocument::RestoreFailure SeemDocument::restoreAll()
{
    return restore(allSettings());
}

void SeemDocument::encode(int index, ByteStore &target) const
{
    const SettingStruct &s = setting(index);
    const ControlState &state = m_edited.at(index - 1);
    switch (SettingType(s.Type)) {
    case SettingType::Checkbox:
        SettingCodec::EncodeChecked(target, s, state.checked);
        break;
    case SettingType::ValueList:
        SettingCodec::EncodeListValue(target, s, ListValueAt(s, state.listPosition));
        break;
    case SettingType::Int8:
    case SettingType::AnsiString:
    case SettingType::UnicodeString:
        SettingCodec::EncodeText(target, s, state.text);
        break;
    default:
        break;
    }
}

QVector<int> SeemDocument::encodeChanged(ByteStore &target) const
{
    const QVector<int> changed = changedSettings();
    for (int index : changed) {
        try {
            encode(index, target);
        } catch (const BvlError &e) {
            throw SettingWriteError(index, e);
        }
    }
    return changed;
}

TypedValueProblem SeemDocument::typedValueProblem(int index) const
{
    const SettingStruct &s = setting(index);
    if (!isChanged(index))
        return TypedValueProblem::None;
    switch (SettingType(s.Type)) {
    case SettingType::Int8:
    case SettingType::AnsiString:
    case SettingType::UnicodeString:
        return CheckTypedValue(s, state(index).text);
    default:
        return TypedValueProblem::None;
    }
}

int SeemDocument::firstUnwritable() const
{
    for (int index : changedSettings())
        if (typedValueProblem(index) != TypedValueProblem::None)
            return index;
    return 0;
}

QVector<QPair<int, ControlState>> SeemDocument::settingsASaveAlsoChanges()
{
    // The changed settings encoded on top of the file, as a save would write them;
    // nothing of it reaches the disk.
    PendingWrites preview(*m_file);
    QVector<int> written;
    for (int index : changedSettings()) {
        try {
            encode(index, preview);
            written.append(index);
        } catch (const BvlError &) {
            // A value the save refuses writes nothing.
        }
    }
    return SettingsAlsoChanged(preview, m_settings, written, m_restored);
}

int SeemDocument::save()
{
    // Not into a file that was deleted, replaced or changed by another program, nor into
    // one open for reading only.
    m_file->checkWritable();
    // Everything is encoded on top of the file first: one failing setting writes nothing.
    PendingWrites pending(*m_file);
    const QVector<int> written = encodeChanged(pending);
    // The written settings read what the file holds once the save is done, as the codec
    // stored it (a text cut to its field, "7" for "007"), decoded from the pending bytes.
    QVector<QPair<int, ControlState>> saved;
    for (int index : written)
        saved.append({index, DecodeControlState(pending, setting(index))});
    m_file->save(pending);
    // Settings that share the written bytes now read otherwise from the file.
    saved += SettingsAlsoChanged(pending, m_settings, written, m_restored);
    QVector<int> indexes;
    for (const auto &[index, state] : saved) {
        m_restored.setRestored(index, state);
        m_edited[index - 1] = state;
        updateChanged(index);
        indexes.append(index);
    }
    finishChange(indexes);
    return written.size();
}

QByteArray SeemDocument::profileJson(int *unreadable)
{
    PendingWrites shown(*m_file);
    encodeChanged(shown);
    return ValueProfileJson(QFileInfo(seemPath()).fileName(), QFileInfo(m_settingPath).fileName(), m_settings, shown,
                            unreadable);
}

void SeemDocument::saveBytes(PendingWrites &pending)
{
    m_file->save(pending);
    // What was restored reads from the file as it now is.
    QVector<int> restored;
    for (int index = 1; index <= count(); ++index)
        if (isRestored(index))
            restored.append(index);
    if (!restored.isEmpty())
        restore(restored);
}

SeemDocument::ProfileStates SeemDocument::profileStates(const QVector<ValueAssignment> &assignments)
{
    // Every value is encoded on top of the edited ones, as a save would write it, and read
    // back as its control shows it: the document then holds what `apply` would write.
    PendingWrites shown(*m_file);
    encodeChanged(shown);
    ProfileStates result;
    const QVector<ResolvedAssignment> accepted = ResolveAssignments(assignments, m_settings, shown, result.problems);
    for (const ResolvedAssignment &a : accepted) {
        if (a.unchanged)
            continue;
        const SettingStruct &s = setting(a.index);
        // A setting whose restore failed shows nothing of the file and is never saved.
        if (!isRestored(a.index)) {
            result.unrestorable.append(a.index);
            continue;
        }
        try {
            EncodeParsedValue(shown, s, a.value);
            const ControlState after = DecodeControlState(shown, s);
            if (after != state(a.index))
                result.states.append({a.index, after});
        } catch (const BvlError &e) {
            result.failed.append({a.index, e.number()});
        }
    }
    return result;
}
