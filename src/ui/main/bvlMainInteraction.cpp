// The user's work on the settings: the description pane follows the pointer and the focus,
// and a right click offers to restore one setting (check box, label) or one group (tree).
// From the keyboard, Shift+F10 or the Menu key offers the same for the focused setting
// control or the tree.
#include "ui/main/bvlMain.h"

#include "ui/AppContext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeWidget>

namespace {
bool IsRightPress(const QEvent *event)
{
    return event->type() == QEvent::MouseButtonPress
           && static_cast<const QMouseEvent *>(event)->button() == Qt::RightButton;
}

// Shift+F10 or the Menu key, or the context menu event a desktop makes of them.
bool IsPopupKey(const QEvent *event)
{
    if (event->type() == QEvent::ContextMenu)
        return static_cast<const QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard;
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    return key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}

// Where a popup opened from the keyboard appears: under the control.
QPoint BelowControl(const QWidget *control)
{
    return control->mapToGlobal(QPoint(0, control->height()));
}

QPoint GlobalPos(const QEvent *event)
{
    return static_cast<const QMouseEvent *>(event)->globalPosition().toPoint();
}

void SetPaneText(QPlainTextEdit *pane, const QString &text)
{
    // Replacing an equal text would only reset the pane's scroll position.
    if (pane->toPlainText() != text)
        pane->setPlainText(text);
}
}   // namespace

void bvlMain::WatchControl(QWidget *control)
{
    control->installEventFilter(this);
    WatchChanges(control);
    if (auto *box = qobject_cast<QLineEdit *>(control))
        WatchTextBox(box);
    // Descriptions follow the pointer without a button pressed.
    control->setMouseTracking(true);
    if (qobject_cast<QCheckBox *>(control) || qobject_cast<QLabel *>(control))
        control->setContextMenuPolicy(Qt::PreventContextMenu);
}

void bvlMain::ShowAccessibleNames()
{
    tvUI->setAccessibleName(m_ctx.T(QStringLiteral("bvlMain.tvUI_Accessible")));
}

void bvlMain::ShowDescriptionOf(const QObject *control)
{
    const int index = control->property(SettingIndexProperty).toInt();
    if (index >= 1 && index <= Settings.size())
        SetPaneText(txDescription, Settings.at(index - 1).Description);
}

void bvlMain::OpenRestorePopup(int target, const QPoint &globalPos)
{
    PopupTarget = target;
    mnuOrig->popup(globalPos);
}

bool bvlMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize) {
        FitClient();
        return false;
    }
    // Filters are installed while the window is being built: not every control exists yet.
    if (txDescription && watched == txDescription->viewport()) {
        if (event->type() == QEvent::MouseMove)
            SetPaneText(txDescription, ShortHelpText);
        return false;
    }
    if (tvUI && (watched == tvUI || watched == tvUI->viewport())) {
        if (IsPopupKey(event)) {
            const QTreeWidgetItem *node = m_view->SelectedNode();
            const QRect at = node ? tvUI->visualItemRect(node) : QRect();
            OpenRestorePopup(-1, tvUI->viewport()->mapToGlobal(at.bottomLeft()));
            return true;
        }
        if (!IsRightPress(event))
            return false;
        // Swallowed, so the node under the mouse is not selected: the popup acts on the
        // node that was selected before.
        OpenRestorePopup(-1, GlobalPos(event));
        return true;
    }

    const QVariant index = watched->property(SettingIndexProperty);
    if (!index.isValid())
        return QMainWindow::eventFilter(watched, event);
    const bool isList = qobject_cast<QComboBox *>(watched) != nullptr;
    if (isList && event->type() == QEvent::Wheel && !static_cast<QWidget *>(watched)->hasFocus()) {
        // A list without the focus does not take the wheel: it scrolls the client area when
        // that scrolls, and never changes a setting.
        if (m_scroll)
            QCoreApplication::sendEvent(m_scroll->verticalScrollBar(), event);
        return true;
    }
    if (TextBoxKeyFiltered(watched, event))
        return true;
    const bool isLabel = qobject_cast<QLabel *>(watched) != nullptr;
    const bool isCheck = qobject_cast<QCheckBox *>(watched) != nullptr;
    if (!isLabel && IsPopupKey(event)) {
        OpenRestorePopup(index.toInt(), BelowControl(static_cast<QWidget *>(watched)));
        return true;
    }
    switch (event->type()) {
    case QEvent::MouseMove:
        if (!isList)
            ShowDescriptionOf(watched);
        break;
    case QEvent::FocusIn:
        if (!isLabel)
            ShowDescriptionOf(watched);
        break;
    case QEvent::MouseButtonPress:
        if ((isCheck || isLabel) && IsRightPress(event))
            OpenRestorePopup(index.toInt(), GlobalPos(event));
        break;
    default:
        break;
    }
    return false;
}
