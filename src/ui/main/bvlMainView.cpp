// The settings view: a tree of group paths and one page of controls per group, twenty
// slots in two columns of ten; a full group continues on a sibling page " (2)".
#include "ui/main/bvlMain.h"

#include "seem/SettingCodec.h"
#include "seem/SettingLookup.h"
#include "ui/ControlNames.h"
#include "ui/Twips.h"
#include "ui/main/SettingControlKind.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

namespace {
constexpr int SlotsPerColumn = 10;
constexpr int SlotsPerPage = 2 * SlotsPerColumn;
// An input control sits this many pixels below its label.
constexpr int InputBelowLabel = 18;

// Group page property: the next free slot, 1 (empty) to 21 (full).
constexpr const char *NextSlotProperty = "NextSlot";

const QChar PathSeparator(QLatin1Char('\\'));

// Names and groups come from files: an "&" in them is a character, not a shortcut mark.
QString MnemonicFree(const QString &text)
{
    QString shown = text;
    return shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// A run-time element: a copy of the template's size and font, placed on a page, visible
// whenever its page is. Its number was given when the document was opened.
template <typename Widget>
Widget *NewElement(QVector<Widget *> &array, int number, QWidget *page, const QString &arrayName)
{
    Widget *element = new Widget(page);
    element->setObjectName(ArrayElementName(arrayName, number));
    element->resize(array.at(0)->size());
    element->setFont(array.at(0)->font());
    array[number] = element;
    return element;
}
}

int bvlMain::GetObjX(int slot) const
{
    return PixelsToTwipsX(slot <= SlotsPerColumn ? 8 : 320);
}

int bvlMain::GetObjY(int slot) const
{
    const int row = slot <= SlotsPerColumn ? slot : slot - SlotsPerColumn;
    return PixelsToTwipsY(15 + 46 * (row - 1));
}

int bvlMain::PageNumberOf(const QTreeWidgetItem *node) const
{
    if (!node)
        return 0;
    bool isNumber = false;
    const int page = node->data(0, NodePageRole).toString().toInt(&isNumber);
    return isNumber && page >= 1 && page <= FrameCount ? page : 0;
}

void bvlMain::AddSettingGroup(SettingStruct &setting, int index)
{
    // Settings of a group mostly follow each other: its path is normalised once for them.
    if (m_lastGroup.second.isEmpty() || setting.Group != m_lastGroup.first)
        m_lastGroup = {setting.Group, NormalisedGroup(setting.Group)};
    const QString given = m_lastGroup.second;
    // The page is the view's: the setting keeps its group, its page key goes here.
    if (PageKeys.size() < index)
        PageKeys.resize(index);
    if (m_places.size() < index)
        m_places.resize(index);
    QString &pageKey = PageKeys[index - 1];
    // A group whose pages filled up goes on where its previous setting went: pages never
    // empty during a build, so the full ones need no second look.
    pageKey = m_groupContinuation.value(given, given);
    for (;;) {
        QTreeWidgetItem *node = m_groups.obtain(tvUI, pageKey);
        const int page = PageNumberOf(node);
        if (page == 0) {
            // A page of its own; its group box is made when it is first shown.
            ++FrameCount;
            m_pages.append(ViewPage{pageKey, {}});
            replicator.append(nullptr);
            node->setData(0, NodePageRole, QString::number(FrameCount));
            m_places[index - 1].page = FrameCount;
            break;
        }
        if (m_pages.at(page - 1).settings.size() < SlotsPerPage) {
            m_places[index - 1].page = page;
            break;
        }
        // A full page: the group goes on with a sibling node.
        pageKey = NormalisedGroup(pageKey + QStringLiteral(" (2)"));
    }
    m_groupContinuation.insert(given, pageKey);
}

void bvlMain::AddSettingControl(SettingStruct &setting, int index)
{
    // The next slot of the page and the next number of each array: the objectNames are
    // those of a view built at once in setting order.
    SettingPlace &place = m_places[index - 1];
    m_pages[place.page - 1].settings.append(index);
    const ControlKind kind = ControlKindOf(setting);
    if (kind == ControlKind::CheckBox) {
        setting.UIIndex = ++CheckCount;
        chUI.append(nullptr);
        return;
    }
    place.label = ++LabelCount;
    lbUI.append(nullptr);
    if (kind == ControlKind::Text) {
        setting.UIIndex = ++TextCount;
        txUI.append(nullptr);
    } else {
        setting.UIIndex = ++ComboCount;
        cbUI.append(nullptr);
    }
}

QGroupBox *bvlMain::BuildPage(int number)
{
    if (number < 1 || number > FrameCount)
        return nullptr;
    if (QGroupBox *built = replicator.at(number))
        return built;
    const ViewPage &shown = m_pages.at(number - 1);
    auto *page = new QGroupBox(MnemonicFree(shown.key.section(PathSeparator, -1)), m_client);
    page->setObjectName(ArrayElementName(QStringLiteral("replicator"), number));
    page->setGeometry(replicator.at(0)->geometry());
    page->setFont(replicator.at(0)->font());
    page->hide();
    replicator[number] = page;
    int slot = 0;
    for (int index : shown.settings)
        BuildControl(page, ++slot, index);
    page->setProperty(NextSlotProperty, slot + 1);
    return page;
}

void bvlMain::BuildControl(QGroupBox *page, int slot, int index)
{
    const SettingStruct &setting = Settings.at(index - 1);
    const QPoint at(TwipsToPixelsX(GetObjX(slot)), TwipsToPixelsY(GetObjY(slot)));
    const QPoint inputAt = at + QPoint(0, InputBelowLabel);

    if (ControlKindOf(setting) == ControlKind::CheckBox) {
        QCheckBox *check = NewElement(chUI, setting.UIIndex, page, QStringLiteral("chUI"));
        check->setText(MnemonicFree(setting.Name));
        check->setProperty(SettingIndexProperty, index);
        check->move(at);
        // Named and described by its setting for assistive technology.
        check->setAccessibleName(setting.Name);
        check->setAccessibleDescription(setting.Description);
        WatchControl(check);
        check->show();
        ShowBuiltControl(index);
        return;
    }

    QLabel *label = NewElement(lbUI, m_places.at(index - 1).label, page, QStringLiteral("lbUI"));
    label->setTextFormat(Qt::PlainText);   // never read a name as rich text
    label->setText(setting.Name);
    label->setProperty(SettingIndexProperty, index);
    label->move(at);
    WatchControl(label);
    label->show();

    if (ControlKindOf(setting) == ControlKind::Text) {
        QLineEdit *text = NewElement(txUI, setting.UIIndex, page, QStringLiteral("txUI"));
        text->setProperty(SettingIndexProperty, index);
        text->move(inputAt);
        label->setBuddy(text);
        text->setAccessibleName(setting.Name);
        text->setAccessibleDescription(setting.Description);
        const int limit = SettingCodec::MaxTextLength(setting);
        if (limit >= 0)
            text->setMaxLength(limit);
        WatchControl(text);
        text->show();
    } else {
        const QVector<ListEntry> entries = ListEntries(setting);
        QComboBox *list = NewElement(cbUI, setting.UIIndex, page, QStringLiteral("cbUI"));
        list->setProperty(SettingIndexProperty, index);
        list->move(inputAt);
        label->setBuddy(list);
        list->setAccessibleName(setting.Name);
        list->setAccessibleDescription(setting.Description);
        // The wheel turns a list only once it has the focus; otherwise it scrolls.
        list->setFocusPolicy(Qt::StrongFocus);
        for (const ListEntry &entry : entries)
            list->addItem(entry.name, entry.value);
        // A new list shows no entry until a restore selects one.
        list->setCurrentIndex(-1);
        WatchControl(list);
        connect(list, &QComboBox::currentIndexChanged, this, [this, list] {
            if (!m_restoring)
                ShowDescriptionOf(list);
        });
        list->show();
    }
    ShowBuiltControl(index);
}

void bvlMain::UnloadAllControls()
{
    ForgetChanges();
    // Controls before the pages that hold them; element 0 of each array stays.
    auto unload = [](auto &array) {
        while (array.size() > 1)
            delete array.takeLast();
    };
    unload(txUI);
    unload(lbUI);
    unload(cbUI);
    unload(chUI);
    unload(replicator);
    FrameCount = LabelCount = ComboCount = TextCount = CheckCount = 0;
    CurrentGroup = -1;
    m_shownNode = nullptr;
    m_groups.clear();
    m_groupContinuation.clear();
    PageKeys.clear();
    m_pages.clear();
    m_places.clear();
    m_lastGroup = {};
    tvUI->clear();
}

void bvlMain::tvUI_NodeClick(QTreeWidgetItem *node)
{
    if (CurrentGroup != -1)
        replicator.at(CurrentGroup)->hide();
    CurrentGroup = -1;
    m_shownNode = node;
    if (!node)
        return;
    if (const int number = PageNumberOf(node)) {
        CurrentGroup = number;
        BuildPage(number)->show();
    }
}

QTreeWidgetItem *bvlMain::SelectedNode() const
{
    const QList<QTreeWidgetItem *> selected = tvUI->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void bvlMain::ShowSetting(int index, bool focusControl)
{
    if (index < 1 || index > Settings.size())
        return;
    QTreeWidgetItem *node = m_groups.find(PageKeys.value(index - 1));
    if (!node)
        return;
    tvUI->setCurrentItem(node);
    tvUI->scrollToItem(node);   // opens the parents of a nested node
    tvUI_NodeClick(node);
    if (!focusControl)
        return;
    if (QWidget *control = ControlOf(index))
        control->setFocus(Qt::OtherFocusReason);
}

QWidget *bvlMain::BuiltControlOf(int index) const
{
    if (index < 1 || index > Settings.size())
        return nullptr;
    const SettingStruct &setting = Settings.at(index - 1);
    switch (ControlKindOf(setting)) {
    case ControlKind::CheckBox:
        return chUI.value(setting.UIIndex);
    case ControlKind::List:
        return cbUI.value(setting.UIIndex);
    case ControlKind::Text:
        break;
    }
    return txUI.value(setting.UIIndex);
}

QLabel *bvlMain::BuiltLabelOf(int index) const
{
    const int number = m_places.value(index - 1).label;
    return number > 0 ? lbUI.value(number) : nullptr;
}

QWidget *bvlMain::ControlOf(int index)
{
    if (index < 1 || index > m_places.size())
        return nullptr;
    BuildPage(m_places.at(index - 1).page);
    return BuiltControlOf(index);
}
