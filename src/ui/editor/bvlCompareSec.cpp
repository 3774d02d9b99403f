#include "ui/editor/bvlCompareSec.h"

#include "seem/authoring/SettingFileComparison.h"
#include "seem/document/SettingLookup.h"
#include "ui/AppContext.h"
#include "ui/editor/CompareSecTexts.h"
#include "ui/language/ApplyLanguage.h"
#include "ui/main/bvlReviewChanges.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using HeaderField = SettingFileDocument::HeaderField;

constexpr int MaxColumnWidth = 480;

void AddField(QTreeWidgetItem *parent, const QString &field, const QString &mine, const QString &other)
{
    auto *row = new QTreeWidgetItem(parent);
    row->setText(bvlCompareSec::SettingColumn, field);
    SetValueTexts(row, bvlCompareSec::ThisColumn, mine, other);
}

}   // namespace

bvlCompareSec::bvlCompareSec(AppContext &context, const SettingFileDocument &document, const QString &otherName,
                             const SettingFileHeader &otherHeader, const SettingList &otherSettings, QWidget *parent)
    : QDialog(parent),
      m_ctx(context),
      m_document(document),
      m_otherName(otherName),
      m_otherHeader(otherHeader),
      m_otherSettings(otherSettings)
{
    setObjectName(QStringLiteral("bvlCompareSec"));
    setWindowTitle(m_ctx.Title(QStringLiteral("bvlEditSetting.mnfCompare")) + QStringLiteral(" - ") + otherName);

    tvDifferences = new QTreeWidget(this);
    tvDifferences->setObjectName(QStringLiteral("tvDifferences"));
    tvDifferences->setColumnCount(4);
    tvDifferences->setHeaderLabels({m_ctx.T(QStringLiteral("bvlCompareSec.sSetting_V")),
                                    m_ctx.T(QStringLiteral("bvlCompareSec.sDifference_V")),
                                    m_ctx.T(QStringLiteral("bvlCompareSec.sThisFile_V")), otherName});
    tvDifferences->setMinimumSize(760, 320);
    lbEqual = new QLabel(m_ctx.T(QStringLiteral("bvlCompareSec.sEqual_V")), this);
    lbEqual->setObjectName(QStringLiteral("lbEqual"));
    auto *buttons = new QDialogButtonBox(this);
    cmClose = NewActionButton(buttons, "cmClose", QStringLiteral("Chiudi"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tvDifferences);
    layout->addWidget(lbEqual);
    layout->addWidget(buttons);

    connect(cmClose, &QPushButton::clicked, this, &QDialog::close);
    connect(tvDifferences, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (const int k = RecordOf(item))
            emit recordChosen(k);
    });
    // The list shows the file as it is: every edit, undo and redo compares again.
    connect(&document, &SettingFileDocument::recordsChanged, this, &bvlCompareSec::FillUp);
    connect(&document, &SettingFileDocument::headerTextChanged, this, &bvlCompareSec::FillUp);
    connect(&document, &SettingFileDocument::reset, this, &QDialog::close);
    ApplyLanguage(m_ctx.lang, this);
    FillUp();
}

QTreeWidgetItem *bvlCompareSec::addRow(const QString &setting, const QString &difference, int record)
{
    auto *row = new QTreeWidgetItem(tvDifferences);
    row->setText(SettingColumn, setting);
    row->setText(DifferenceColumn, difference);
    row->setData(SettingColumn, Qt::UserRole, record);
    return row;
}

int bvlCompareSec::RecordOf(const QTreeWidgetItem *item) const
{
    while (item && item->parent())
        item = item->parent();
    return item ? item->data(SettingColumn, Qt::UserRole).toInt() : 0;
}

void bvlCompareSec::FillUp()
{
    const SettingFileHeader mineHeader = m_document.headerToCheck();
    const SettingList &mine = m_document.records();
    // The other file is the older side: what this file adds is "only in this file".
    const SettingFileComparison c = CompareSettingFiles(m_otherHeader, m_otherSettings, mineHeader, mine);

    tvDifferences->clear();
    if (!c.header.isEmpty()) {
        QTreeWidgetItem *header = addRow(m_ctx.T(QStringLiteral("bvlCompareSec.sHeader_V")),
                                         m_ctx.T(QStringLiteral("bvlCompareSec.sChanged_V")), 0);
        for (HeaderField field : c.header)
            AddField(header, HeaderFieldWord(m_ctx, field), HeaderFieldValue(mineHeader, field),
                     HeaderFieldValue(m_otherHeader, field));
    }
    const QString onlyThere = m_ctx.T(QStringLiteral("bvlCompareSec.sOnlyThere_V")).arg(m_otherName);
    for (int k : c.removed)
        addRow(SettingPathOf(m_otherSettings.at(k - 1)), onlyThere, 0);
    const QString onlyHere = m_ctx.T(QStringLiteral("bvlCompareSec.sOnlyHere_V"));
    for (int k : c.added)
        addRow(SettingPathOf(mine.at(k - 1)), onlyHere, k);
    for (const SettingChange &change : c.changed) {
        const SettingStruct &here = mine.at(change.after - 1);
        const SettingStruct &there = m_otherSettings.at(change.before - 1);
        QTreeWidgetItem *row = addRow(SettingPathOf(here),
                                      m_ctx.T(change.renamed ? QStringLiteral("bvlCompareSec.sRenamed_V")
                                                             : QStringLiteral("bvlCompareSec.sChanged_V")),
                                      change.after);
        for (RecordField field : change.fields)
            AddField(row, RecordFieldWord(m_ctx, field), RecordFieldValue(m_ctx, here, field),
                     RecordFieldValue(m_ctx, there, field));
    }
    tvDifferences->expandAll();
    FitColumnsAndWindow(this, tvDifferences);
    lbEqual->setVisible(c.equal());
}

void FitColumnsAndWindow(QDialog *window, QTreeWidget *tree)
{
    int columns = 0;
    for (int column = 0; column < tree->columnCount(); ++column) {
        tree->resizeColumnToContents(column);
        tree->setColumnWidth(column, std::min(tree->columnWidth(column), MaxColumnWidth));
        columns += tree->columnWidth(column);
    }
    const QMargins margins = window->layout()->contentsMargins();
    int wanted = columns + 2 * tree->frameWidth() + tree->verticalScrollBar()->sizeHint().width() + margins.left()
                 + margins.right();
    if (const QScreen *shown = window->screen())
        wanted = std::min(wanted, shown->availableGeometry().width());
    if (wanted > window->width())
        window->resize(wanted, window->height());
}

void SetValueTexts(QTreeWidgetItem *row, int column, const QString &mine, const QString &other)
{
    row->setText(column, mine);
    row->setText(column + 1, other);
    row->setToolTip(column, mine);
    row->setToolTip(column + 1, other);
}
