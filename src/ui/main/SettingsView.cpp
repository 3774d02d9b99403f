// The settings view: a tree of group paths and one page of controls per group, twenty
// slots in two columns of ten; a full group continues on a sibling page " (2)".
#include "ui/main/SettingsView.h"

#include "seem/document/SettingLookup.h"
#include "seem/values/SettingCodec.h"
#include "ui/ControlNames.h"
#include "ui/Twips.h"
#include "ui/main/ClientAreas.h"
#include "ui/main/SettingControlKind.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {
// Size of the setting control templates, in twips.
constexpr int TemplateWidth = 4575;
constexpr int LineHeight = 315;
constexpr int CheckHeight = 630;

constexpr int SlotsPerColumn = 10;
constexpr int SlotsPerPage = 2 * SlotsPerColumn;
// An input control sits this many twips below its label.
constexpr int InputBelowLabel = 270;
// Slots lie in two columns, a row every 690 twips.
constexpr int FirstColumnX = 120;
constexpr int SecondColumnX = 4800;
constexpr int FirstRowY = 225;
constexpr int RowHeight = 690;

// Group page property: the next free slot, 1 (empty) to 21 (full).
constexpr const char *NextSlotProperty = "NextSlot";

const QChar PathSeparator(QLatin1Char('\\'));

// Names and groups come from files: an "&" in them is a character, not a shortcut mark.
QString MnemonicFree(const QString &text)
{
    QString shown = text;
    return shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Element 0 of a control array: the invisible template of the given size in twips that the
// run-time elements copy.
template<typename Widget> QVector<Widget *> TemplateArray(QWidget *client, const char *arrayName, int heightTwips)
{
    auto *element = new Widget(client);
    element->setObjectName(ArrayElementName(QLatin1String(arrayName), 0));
    element->resize(TwipsToPixelsX(TemplateWidth), TwipsToPixelsY(heightTwips));
    element->hide();
    return {element};
}

// A run-time element: a copy of the template's size and font, placed on a page, visible
// whenever its page is. Its number was given when the document was opened.
template<typename Widget>
Widget *NewElement(QVector<Widget *> &array, int number, QWidget *page, const QString &arrayName)
{
    Widget *element = new Widget(page);
    element->setObjectName(ArrayElementName(arrayName, number));
    element->resize(array.at(0)->size());
    element->setFont(array.at(0)->font());
    array[number] = element;
    return element;
}
}   // namespace

void SettingsView::BuildTemplates(QWidget *client)
{
    m_client = client;
    tvUI = new QTreeWidget(client);
    tvUI->setObjectName(QStringLiteral("tvUI"));
    tvUI->setGeometry(ClientAreas::Tree(client->size()));
    tvUI->setHeaderHidden(true);
    tvUI->setColumnCount(1);
    tvUI->setSelectionMode(QAbstractItemView::SingleSelection);
    // A right click opens the restore popup and must not select the node under the mouse.
    tvUI->setContextMenuPolicy(Qt::PreventContextMenu);
    tvUI->hide();
    // Selecting a node, by mouse or keys, shows its page; clicking the selected node again
    // shows it as well.
    connect(tvUI, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (QTreeWidgetItem *node = SelectedNode())
            ShowPageOf(node);
        else if (m_shownNode)
            // Nothing selected (Ctrl+click) while a page shows: its node stays selected, so
            // that what the tree's commands act on is what the user sees.
            m_shownNode->setSelected(true);
    });
    connect(tvUI, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) { ShowPageOf(node); });

    auto *page = new QGroupBox(QStringLiteral("replicator"), client);
    page->setObjectName(ArrayElementName(QStringLiteral("replicator"), 0));
    page->setGeometry(ClientAreas::Page(client->size()));
    page->hide();
    replicator = {page};

    lbUI = TemplateArray<QLabel>(client, "lbUI", LineHeight);
    chUI = TemplateArray<QCheckBox>(client, "chUI", CheckHeight);
    cbUI = TemplateArray<QComboBox>(client, "cbUI", LineHeight);   // not editable, as a new box is
    txUI = TemplateArray<QLineEdit>(client, "txUI", LineHeight);
}

void SettingsView::FitTo(QSize client)
{
    tvUI->setGeometry(ClientAreas::Tree(client));
    // The template too: a page built later copies its place.
    const QRect page = ClientAreas::Page(client);
    for (QGroupBox *built : qAsConst(replicator))
        if (built)
            built->setGeometry(page);
}

int SettingsView::GetObjX(int slot) const
{
    return slot <= SlotsPerColumn ? FirstColumnX : SecondColumnX;
}

int SettingsView::GetObjY(int slot) const
{
    const int row = slot <= SlotsPerColumn ? slot : slot - SlotsPerColumn;
    return FirstRowY + RowHeight * (row - 1);
}

int SettingsView::PageNumberOf(const QTreeWidgetItem *node) const
{
    if (!node)
        return 0;
    bool isNumber = false;
    const int page = node->data(0, NodePageRole).toString().toInt(&isNumber);
    return isNumber && page >= 1 && page <= FrameCount ? page : 0;
}

void SettingsView::AddSettingGroup(SettingStruct &setting, int index)
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

void SettingsView::AddSettingControl(SettingStruct &setting, int index)
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

QGroupBox *SettingsView::BuildPage(int number)
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

void SettingsView::BuildControl(QGroupBox *page, int slot, int index)
{
    const SettingStruct &setting = Settings.at(index - 1);
    const QPoint at(TwipsToPixelsX(GetObjX(slot)), TwipsToPixelsY(GetObjY(slot)));
    const QPoint inputAt = at + QPoint(0, TwipsToPixelsY(InputBelowLabel));

    if (ControlKindOf(setting) == ControlKind::CheckBox) {
        QCheckBox *check = NewElement(chUI, setting.UIIndex, page, QStringLiteral("chUI"));
        check->setText(MnemonicFree(setting.Name));
        check->setProperty(SettingIndexProperty, index);
        check->move(at);
        // Named and described by its setting for assistive technology.
        check->setAccessibleName(setting.Name);
        check->setAccessibleDescription(setting.Description);
        emit controlMade(check);
        check->show();
        emit controlBuilt(index);
        return;
    }

    QLabel *label = NewElement(lbUI, m_places.at(index - 1).label, page, QStringLiteral("lbUI"));
    label->setTextFormat(Qt::PlainText);   // never read a name as rich text
    label->setText(setting.Name);
    label->setProperty(SettingIndexProperty, index);
    label->move(at);
    emit controlMade(label);
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
        emit controlMade(text);
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
        emit controlMade(list);
        connect(list, &QComboBox::currentIndexChanged, this, [this, list] { emit listEntryChanged(list); });
        list->show();
    }
    emit controlBuilt(index);
}

void SettingsView::Unload()
{
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

void SettingsView::ShowPageOf(QTreeWidgetItem *node)
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

QTreeWidgetItem *SettingsView::SelectedNode() const
{
    const QList<QTreeWidgetItem *> selected = tvUI->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

bool SettingsView::SelectPageOf(int index)
{
    if (index < 1 || index > Settings.size())
        return false;
    QTreeWidgetItem *node = m_groups.find(PageKeys.value(index - 1));
    if (!node)
        return false;
    tvUI->setCurrentItem(node);
    tvUI->scrollToItem(node);   // opens the parents of a nested node
    ShowPageOf(node);
    return true;
}

int SettingsView::selectFirstPage()
{
    // A group that only holds other groups has no page of its own.
    for (QTreeWidgetItemIterator it(tvUI); *it; ++it) {
        if (const int number = PageNumberOf(*it)) {
            tvUI->setCurrentItem(*it);
            ShowPageOf(*it);
            return PageSettings(number).value(0);
        }
    }
    return 0;
}

QTreeWidgetItem *SettingsView::ShownOrSelectedNode() const
{
    return m_shownNode ? m_shownNode : SelectedNode();
}

QVector<int> SettingsView::PageSettings(int number) const
{
    return number >= 1 && number <= m_pages.size() ? m_pages.at(number - 1).settings : QVector<int>();
}

QWidget *SettingsView::BuiltControlOf(int index) const
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

QLabel *SettingsView::BuiltLabelOf(int index) const
{
    const int number = m_places.value(index - 1).label;
    return number > 0 ? lbUI.value(number) : nullptr;
}

QWidget *SettingsView::ControlOf(int index)
{
    if (index < 1 || index > m_places.size())
        return nullptr;
    BuildPage(m_places.at(index - 1).page);
    return BuiltControlOf(index);
}

ControlState SettingsView::StateShown(int index) const
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

void SettingsView::Show(int index, const ControlState &state)
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
