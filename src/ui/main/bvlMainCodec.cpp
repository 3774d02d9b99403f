// Values between the setting controls and the open SEEM file, through the widget-free codec.
//
// RestoredStates remembers what each restore put into each control. A save writes only
// the settings whose controls differ from it, so the bytes of every setting the user
// did not touch stay exactly as the file holds them, whatever they are: a state no
// value names, a string without a terminator, or bytes a setting could not even read.
#include "ui/main/bvlMain.h"

#include "seem/AlsoChanged.h"
#include "seem/SettingCodec.h"
#include "ui/AppContext.h"
#include "ui/main/SettingControlKind.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QTreeWidget>
#include <numeric>

namespace {
// The number the platform gives a list without a selected entry.
constexpr int NoEntrySelected = 381;

bool IsKnownType(const SettingStruct &setting)
{
    return setting.Type <= quint8(SettingType::UnicodeString);
}
}

ControlState bvlMain::CurrentState(int index) const
{
    const SettingStruct &setting = Settings.at(index - 1);
    switch (ControlKindOf(setting)) {
    case ControlKind::CheckBox:
        return ControlState::Checked(chUI.at(setting.UIIndex)->isChecked());
    case ControlKind::List:
        return ControlState::ListPosition(cbUI.at(setting.UIIndex)->currentIndex());
    case ControlKind::Text:
        break;
    }
    return ControlState::Text(txUI.at(setting.UIIndex)->text());
}

void bvlMain::ShowState(int index, const ControlState &state)
{
    const SettingStruct &setting = Settings.at(index - 1);
    switch (ControlKindOf(setting)) {
    case ControlKind::CheckBox:
        chUI.at(setting.UIIndex)->setChecked(state.checked);
        return;
    case ControlKind::List:
        cbUI.at(setting.UIIndex)->setCurrentIndex(state.listPosition);
        return;
    case ControlKind::Text:
        break;
    }
    QLineEdit *text = txUI.at(setting.UIIndex);
    // A field without a terminator holds one character more than can be typed into it:
    // the input limit grows to show it whole, since setText cuts at the limit.
    const int limit = SettingCodec::MaxTextLength(setting);
    if (limit >= 0)
        text->setMaxLength(qMax(limit, int(state.text.size())));
    text->setText(state.text);
}

int bvlMain::RestoreOne(int index)
{
    const SettingStruct &setting = Settings.at(index - 1);
    QWidget *control = ControlOf(index);
    try {
        if (IsKnownType(setting)) {
            const ControlState state = DecodeControlState(*SEEMFile, setting);
            ShowState(index, state);
            RestoredStates.setRestored(index, state);
        } else {
            RestoredStates.setRestored(index, CurrentState(index));   // left alone, never written
        }
        control->setEnabled(true);
        return 0;
    } catch (const BvlError &e) {
        // Shows nothing the file does not hold, and takes no edit that a save would write.
        ShowState(index, ControlState());
        RestoredStates.setUnrestorable(index);
        control->setEnabled(false);
        return e.number();
    }
}

bvlMain::RestoreFailure bvlMain::RestoreQuietly(const QVector<int> &indexes)
{
    CommitTypedEdit();
    RestoreFailure first;
    {
        const QScopedValueRollback<bool> restoring(m_restoring, true);
        for (int index : indexes) {
            const int error = RestoreOne(index);
            if (error != 0 && first.index == 0)
                first = RestoreFailure{index, error};
        }
    }
    SettleChanges(indexes);
    return first;
}

void bvlMain::ReportRestoreFailure(const RestoreFailure &failure)
{
    if (failure.index == 0)
        return;
    m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlMain.sIncompatible_M")) + QStringLiteral(" (ERR ")
                                  + QString::number(failure.error) + QLatin1Char(')'),
                              MsgIcon::Warning, MsgButtons::Ok);
    ShowSetting(failure.index);
}

bool bvlMain::RestoreSettings(const QVector<int> &indexes)
{
    // The user's restore of one setting, a group or all is one undo step.
    RestoreFailure failure;
    RecordAsOneStep(indexes, [&] { failure = RestoreQuietly(indexes); });
    ReportRestoreFailure(failure);
    return failure.index == 0;
}

bool bvlMain::RestoreSetting(int index)
{
    return RestoreSettings({index});
}

QVector<int> bvlMain::AllSettings() const
{
    QVector<int> indexes(Settings.size());
    std::iota(indexes.begin(), indexes.end(), 1);
    return indexes;
}

bool bvlMain::RestoreAll()
{
    const bool restored = RestoreSettings(AllSettings());
    // Nothing is edited now: what could not be restored is disabled and never written.
    IsSaved = true;
    return restored;
}

void bvlMain::WriteSetting(int index, ByteStore &target)
{
    const SettingStruct &setting = Settings.at(index - 1);
    switch (SettingType(setting.Type)) {
    case SettingType::Checkbox:
        SettingCodec::EncodeChecked(target, setting, chUI.at(setting.UIIndex)->isChecked());
        break;
    case SettingType::ValueList: {
        const QComboBox *list = cbUI.at(setting.UIIndex);
        if (list->currentIndex() < 0)
            throw BvlError(NoEntrySelected, QStringLiteral("no list entry selected"));
        SettingCodec::EncodeListValue(target, setting, list->currentData().toInt());
        break;
    }
    case SettingType::Int8:
    case SettingType::AnsiString:
    case SettingType::UnicodeString:
        SettingCodec::EncodeText(target, setting, txUI.at(setting.UIIndex)->text());
        break;
    default:
        break;
    }
}

int bvlMain::WriteAll()
{
    // Not into a file that was deleted, replaced or changed by another program, nor into
    // one open for reading only.
    SEEMFile->checkWritable();
    // Everything is encoded on top of the file first: one failing setting writes nothing.
    PendingWrites pending(*SEEMFile);
    QVector<int> written;
    for (int index = 1; index <= Settings.size(); ++index) {
        if (!RestoredStates.differs(index, CurrentState(index)))
            continue;
        try {
            WriteSetting(index, pending);
        } catch (const BvlError &e) {
            throw SettingWriteError(index, e);
        }
        written.append(index);
    }
    // The written controls are to show what the file holds once the save is done, as the
    // codec stored it (a text cut to its field, "7" for "007"), and that is their new
    // original. Decoded now from the pending bytes, which hold it all, so that reading it
    // back costs the file nothing.
    QVector<QPair<int, ControlState>> saved;
    for (int index : written)
        saved.append({index, DecodeControlState(pending, Settings.at(index - 1))});
    SEEMFile->save(pending);
    // Settings that share the written bytes now read otherwise from the file: their
    // controls show it, and it is their new original too.
    saved += SettingsAlsoChanged(pending, Settings, written, RestoredStates);
    CommitTypedEdit();
    for (const auto &[index, state] : saved)
        RestoredStates.setRestored(index, state);
    ShowStatesQuietly(saved);
    IsSaved = true;
    return written.size();
}

QVector<QPair<int, ControlState>> bvlMain::SettingsASaveAlsoChanges()
{
    // The changed settings encoded on top of the file, as a save would write them;
    // nothing of it reaches the disk.
    PendingWrites preview(*SEEMFile);
    QVector<int> written;
    for (int index : ChangedSettings()) {
        try {
            WriteSetting(index, preview);
            written.append(index);
        } catch (const BvlError &) {
            // A value the save refuses writes nothing.
        }
    }
    return SettingsAlsoChanged(preview, Settings, written, RestoredStates);
}

TypedValueProblem bvlMain::TypedValueProblemOf(int index) const
{
    const SettingStruct &setting = Settings.at(index - 1);
    if (ControlKindOf(setting) != ControlKind::Text)
        return TypedValueProblem::None;
    const ControlState state = CurrentState(index);
    // What the file holds is never written back, so it is never in the way of a save.
    if (!RestoredStates.differs(index, state))
        return TypedValueProblem::None;
    return CheckTypedValue(setting, state.text);
}

void bvlMain::mnfRestore_Click()
{
    RestoreAll();
}

void bvlMain::mnfRestoreItem_Click()
{
    if (PopupTarget != -1) {
        if (PopupTarget >= 1 && PopupTarget <= Settings.size())
            RestoreSetting(PopupTarget);
        return;
    }
    // The selected node's own page only, not the pages of its children.
    const QTreeWidgetItem *node = SelectedNode();
    if (!node)
        return;
    const QString key = node->data(0, NodeKeyRole).toString();
    QVector<int> group;
    for (int index = 1; index <= Settings.size(); ++index)
        if (Settings.at(index - 1).Group == key)
            group.append(index);
    RestoreSettings(group);
}
