#include "ui/main/bvlReviewChanges.h"

#include "core/Conversions.h"
#include "core/OffsetText.h"
#include "seem/document/SeemDocument.h"
#include "seem/document/SettingLookup.h"
#include "seem/values/ControlStateText.h"
#include "seem/values/OwnedBytes.h"
#include "ui/AppContext.h"
#include "ui/CommandButtons.h"
#include "ui/ControlNames.h"
#include "ui/editor/InputMarks.h"
#include "ui/language/ApplyLanguage.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int NewValueColumn = 3;

// The bytes a setting owns: "18 (0x12)", "18 (0x12) 00110000" for some bits of one byte,
// "2-9 (0x2-0x9)" for a field.
QString BytesTouchedText(const SettingStruct &setting)
{
    const OwnedSpan span = OwnedSpanOf(setting);
    if (span.size == 0)
        return QStringLiteral("-");
    const QString bytes = OffsetRangeText(span.offset, span.end() - 1);
    return span.size > 1 || span.mask == 0xFF ? bytes : bytes + QLatin1Char(' ') + OwnedBitsText(span);
}

}   // namespace

CheckWords LanguageCheckWords(AppContext &ctx)
{
    return {ctx.T(QStringLiteral("bvlMain.sOn_V")), ctx.T(QStringLiteral("bvlMain.sOff_V"))};
}

QPushButton *NewActionButton(QDialogButtonBox *box, const char *name, const QString &caption)
{
    auto *button = box->addButton(caption, QDialogButtonBox::ActionRole);
    button->setObjectName(QString::fromLatin1(name));
    MakeCommandButton(button);
    TagForCaption(button);
    return button;
}

QStringList ChangeListHeaders(AppContext &ctx, const QStringList &valueKeys)
{
    QStringList headers{ctx.T(QStringLiteral("bvlReviewChanges.sGroup_V")),
                        ctx.T(QStringLiteral("bvlReviewChanges.sName_V"))};
    for (const QString &key : valueKeys)
        headers << ctx.T(key);
    return headers;
}

QTreeWidget *NewSettingList(QWidget *parent, const QString &name, const QStringList &headers)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setColumnCount(headers.size());
    list->setHeaderLabels(headers);
    list->setMinimumSize(760, 320);
    return list;
}

QVector<int> SelectedSettingsOf(const QTreeWidget *list)
{
    QVector<int> indexes;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        if (const QTreeWidgetItem *item = list->topLevelItem(row); item->isSelected())
            indexes.append(item->data(0, Qt::UserRole).toInt());
    return indexes;
}

QTreeWidgetItem *AddSettingRow(QTreeWidget *list, int index, const QStringList &texts)
{
    auto *row = new QTreeWidgetItem(list, texts);
    row->setData(0, Qt::UserRole, index);
    return row;
}

bvlReviewChanges::bvlReviewChanges(AppContext &context, SeemDocument &document, ReviewActions actions, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_document(document), m_actions(std::move(actions))
{
    setObjectName(QStringLiteral("bvlReviewChanges"));
    setWindowTitle(m_ctx.Title(QStringLiteral("bvlMain.mnfReviewChanges")));

    lsChanges = NewSettingList(this, QStringLiteral("lsChanges"),
                               ChangeListHeaders(m_ctx, {QStringLiteral("bvlReviewChanges.sFileValue_V"),
                                                         QStringLiteral("bvlReviewChanges.sNewValue_V"),
                                                         QStringLiteral("bvlReviewChanges.sBytes_V")}));
    auto *buttons = new QDialogButtonBox(this);
    cmRestore = NewActionButton(buttons, "cmRestore", QStringLiteral("Ripristina selezionate"));
    cmSave = NewActionButton(buttons, "cmSave", QStringLiteral("Salva..."));
    cmClose = NewActionButton(buttons, "cmClose", QStringLiteral("Chiudi"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lsChanges);
    layout->addWidget(buttons);

    connect(cmRestore, &QPushButton::clicked, this, [this] { cmRestore_Click(); });
    connect(cmSave, &QPushButton::clicked, this, [this] { cmSave_Click(); });
    connect(cmClose, &QPushButton::clicked, this, [this] { cmClose_Click(); });
    connect(lsChanges, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *row) { lsChanges_DblClick(row); });
    connect(lsChanges, &QTreeWidget::itemSelectionChanged, this,
            [this] { cmRestore->setEnabled(!SelectedSettings().isEmpty()); });
    ApplyLanguage(m_ctx.lang, this);
    FillUp();
}

void bvlReviewChanges::FillUp()
{
    lsChanges->clear();
    const QVector<int> changed = m_document.changedSettings();
    const CheckWords words = LanguageCheckWords(m_ctx);
    for (int index : changed) {
        const SettingStruct &s = m_document.setting(index);
        QTreeWidgetItem *row =
            AddSettingRow(lsChanges, index,
                          {NormalisedGroup(s.Group), s.Name, ControlStateText(s, m_document.original(index), words),
                           ControlStateText(s, m_document.state(index), words), BytesTouchedText(s)});
        // A value the save would refuse, with the reason.
        const TypedValueProblem problem = m_document.typedValueProblem(index);
        if (problem != TypedValueProblem::None) {
            row->setText(NewValueColumn, row->text(NewValueColumn) + QStringLiteral(" (")
                                             + m_ctx.T(QStringLiteral("bvlReviewChanges.sInvalid_V"))
                                             + QLatin1Char(')'));
            row->setToolTip(NewValueColumn, m_actions.problemText(index, problem));
            row->setForeground(NewValueColumn, InputMarks::InvalidTextFor(lsChanges->palette()));
        }
    }
    // Settings over the same bytes that the save changes with them.
    for (const auto &[index, state] : m_document.settingsASaveAlsoChanges()) {
        const SettingStruct &s = m_document.setting(index);
        AddSettingRow(lsChanges, index,
                      {NormalisedGroup(s.Group), s.Name, ControlStateText(s, m_document.original(index), words),
                       ControlStateText(s, state, words) + QStringLiteral(" (")
                           + m_ctx.T(QStringLiteral("bvlReviewChanges.sAlsoChanges_V")) + QLatin1Char(')'),
                       BytesTouchedText(s)});
    }
    for (int column = 0; column < lsChanges->columnCount(); ++column)
        lsChanges->resizeColumnToContents(column);
    cmRestore->setEnabled(false);
    cmSave->setEnabled(!changed.isEmpty());
}

QVector<int> bvlReviewChanges::SelectedSettings() const
{
    return SelectedSettingsOf(lsChanges);
}

void bvlReviewChanges::cmRestore_Click()
{
    const QVector<int> selected = SelectedSettings();
    if (selected.isEmpty())
        return;
    m_actions.restore(selected);
    FillUp();
}

void bvlReviewChanges::cmSave_Click()
{
    m_actions.save();
    FillUp();
}

void bvlReviewChanges::cmClose_Click()
{
    reject();
}

void bvlReviewChanges::lsChanges_DblClick(QTreeWidgetItem *row)
{
    if (!row)
        return;
    m_goTo = row->data(0, Qt::UserRole).toInt();
    accept();
}
