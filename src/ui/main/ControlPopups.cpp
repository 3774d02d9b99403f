// What a setting's box tells and offers beyond its value: the pop-up of a text or number box
// holds Restore original above the box's own edit actions; a box keeps its field's typing
// limit and says so when a pasted text was cut to it; a list whose value the file holds
// names no entry says which value it is instead of showing an empty box.
#include "ui/main/bvlMain.h"

#include "seem/values/SettingCodec.h"
#include "ui/AppContext.h"
#include "ui/main/SettingControlKind.h"
#include "ui/main/StatusMessages.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QTimer>

namespace {
// Set on a text box while its tool tip tells of a cut text.
constexpr const char *CutHintProperty = "CutHint";
}   // namespace

QMenu *bvlMain::TextBoxPopup(QLineEdit *box)
{
    QMenu *menu = box->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("mnuTextBox"));
    QAction *first = menu->actions().value(0);
    menu->insertAction(first, mnfRestoreItem);
    menu->insertSeparator(first);
    // Paste from the pop-up is watched as the paste key is: a cut text says so.
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")
            || action->text().section(QLatin1Char('\t'), 1)
                   == QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText)) {
            const bool cuts = PasteWouldCut(box);
            connect(action, &QAction::triggered, this, [this, box, cuts] {
                if (cuts)
                    ReportTextCut(box);
            });
        }
    }
    return menu;
}

void bvlMain::OpenTextBoxPopup(QLineEdit *box, const QPoint &globalPos)
{
    PopupTarget = box->property(SettingIndexProperty).toInt();
    QMenu *menu = TextBoxPopup(box);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}

bool bvlMain::PasteWouldCut(const QLineEdit *box) const
{
    const QString pasted = QGuiApplication::clipboard()->text();
    if (box->isReadOnly() || pasted.isEmpty())
        return false;
    return box->text().size() - box->selectedText().size() + pasted.size() > box->maxLength();
}

void bvlMain::ReportTextCut(QLineEdit *box)
{
    const int index = box->property(SettingIndexProperty).toInt();
    if (index < 1 || index > Settings.size())
        return;
    const QString text =
        m_ctx.T(QStringLiteral("bvlMain.sTextCut_V")).arg(SettingCodec::MaxTextLength(Settings.at(index - 1)));
    box->setProperty(CutHintProperty, true);
    box->setToolTip(PlainToolTip(text));
    // Back to naming the setting file after a while, as after a save.
    m_status->ShowForAWhile(Settings.at(index - 1).Name + QStringLiteral(": ") + text);
}

void bvlMain::WatchTextBox(QLineEdit *box)
{
    connect(box, &QLineEdit::textEdited, this, [this, box] {
        const int index = box->property(SettingIndexProperty).toInt();
        if (index < 1 || index > Settings.size())
            return;
        // A text of the file's that fills its field without a terminator is shown whole;
        // once edited, the box takes no more than its field can hold with one.
        const int field = SettingCodec::MaxTextLength(Settings.at(index - 1));
        if (field >= 0 && box->maxLength() > qMax(field, int(box->text().size())))
            box->setMaxLength(qMax(field, int(box->text().size())));
        if (box->property(CutHintProperty).toBool()) {
            box->setProperty(CutHintProperty, false);
            box->setToolTip(QString());
            UpdateValidityMark(index);
        }
    });
}

bool bvlMain::TextBoxKeyFiltered(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (!box || !box->property(SettingIndexProperty).isValid())
        return false;
    const QPoint belowControl = box->mapToGlobal(QPoint(0, box->height()));
    if (event->type() == QEvent::ContextMenu) {
        const auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        OpenTextBoxPopup(box, menuEvent->reason() == QContextMenuEvent::Mouse ? menuEvent->globalPos() : belowControl);
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
        OpenTextBoxPopup(box, belowControl);
        return true;
    }
    if (key->matches(QKeySequence::Paste) && PasteWouldCut(box)) {
        // The box pastes what fits; then the user learns that the rest was left out.
        QPointer<QLineEdit> pastedInto(box);
        QTimer::singleShot(0, this, [this, pastedInto] {
            if (pastedInto)
                ReportTextCut(pastedInto);
        });
    }
    return false;
}

void bvlMain::UpdateListHint(int index)
{
    if (index < 1 || index > Settings.size() || index > Document->count())
        return;
    const SettingStruct &setting = Settings.at(index - 1);
    if (ControlKindOf(setting) != ControlKind::List || SettingType(setting.Type) != SettingType::ValueList)
        return;
    QComboBox *list = cbUI.value(setting.UIIndex);
    if (!list)
        return;
    QString hint;
    if (Document->isRestored(index) && Document->state(index).listPosition < 0) {
        // The entries stay those of the setting file: the value is told, never added.
        try {
            const QByteArray byte = Document->file().read(setting.Offset, 1);
            if (byte.size() == 1) {
                const int owned = quint8(byte.at(0)) & quint8(setting.BitMask);
                hint = m_ctx.T(QStringLiteral("bvlMain.sNotInList_V"))
                           .arg(QStringLiteral("%1").arg(owned, 2, 16, QLatin1Char('0')).toUpper());
            }
        } catch (const BvlError &) {
            // A file that cannot be read now shows an empty box, as before.
        }
    }
    if (hint.isEmpty() && list->currentIndex() == -1 && !list->placeholderText().isEmpty()) {
        // A list without placeholder selects its first entry when the placeholder goes: it
        // keeps showing no entry, and that is no edit.
        const QSignalBlocker quiet(list);
        list->setPlaceholderText(hint);
        list->setCurrentIndex(-1);
    } else {
        list->setPlaceholderText(hint);
    }
    list->setToolTip(hint.isEmpty() ? QString() : PlainToolTip(hint));
}
