#include "ui/editor/bvlProposals.h"

#include "core/OffsetText.h"
#include "ui/AccessibleNames.h"

#include "seem/values/OwnedBytes.h"
#include "seem/values/SettingValueText.h"
#include "ui/AppContext.h"
#include "ui/WindowPlacement.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

bvlProposals::bvlProposals(AppContext &ctx, const QVector<Proposal> &proposals, QWidget *owner, bool fromMany)
    : QDialog(owner), m_ctx(ctx), m_proposals(proposals)
{
    setObjectName(QStringLiteral("bvlProposals"));
    setWindowTitle(ctx.T(QStringLiteral("bvlProposals.Caption_V")));

    lbSummary = new QLabel(this);
    lbSummary->setObjectName(QStringLiteral("lbSummary"));
    lbSummary->setTextFormat(Qt::PlainText);
    lbSummary->setText(
        proposals.isEmpty()
            ? ctx.T(fromMany ? QStringLiteral("bvlProposals.sNoneMany_V") : QStringLiteral("bvlProposals.sNone_V"))
            : ctx.lang.GetPluralString(QStringLiteral("bvlProposals.sSomeCount_V"), proposals.size()));

    lsProposals = new QTreeWidget(this);
    lsProposals->setObjectName(QStringLiteral("lsProposals"));
    lsProposals->setRootIsDecorated(false);
    lsProposals->setUniformRowHeights(true);
    // From more than two images one column holds the values seen.
    const bool seen =
        std::any_of(proposals.cbegin(), proposals.cend(), [](const Proposal &p) { return !p.seen.isEmpty(); });
    lsProposals->setHeaderLabels(
        {ctx.T(QStringLiteral("bvlProposals.sOffset_V")), ctx.T(QStringLiteral("bvlProposals.sBits_V")),
         ctx.T(QStringLiteral("bvlProposals.sType_V")),
         ctx.T(seen ? QStringLiteral("bvlProposals.sSeen_V") : QStringLiteral("bvlProposals.sFirst_V")),
         ctx.T(QStringLiteral("bvlProposals.sSecond_V")), ctx.T(QStringLiteral("bvlProposals.sSupport_V")),
         ctx.T(QStringLiteral("bvlProposals.sName_V"))});
    for (const Proposal &p : proposals) {
        auto *row = new QTreeWidgetItem(lsProposals);
        row->setText(OffsetColumn, OffsetText(p.setting.Offset));
        row->setText(BitsColumn, OwnedBitsText(OwnedSpanOf(p.setting)));
        row->setText(TypeColumn, SettingTypeName(p.setting.Type));
        row->setText(FirstColumn, seen ? p.seen : p.firstValue);
        row->setText(SecondColumn, p.secondValue);
        row->setText(SupportColumn, QString::number(p.support));
        row->setText(NameColumn, p.setting.Name);
        row->setCheckState(OffsetColumn, Qt::Checked);
    }
    lsProposals->setColumnHidden(SecondColumn, seen);
    lsProposals->setColumnHidden(SupportColumn, !fromMany);
    lsProposals->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    cmAdd = new QPushButton(ctx.T(QStringLiteral("bvlProposals.cmAdd")), this);
    cmAdd->setObjectName(QStringLiteral("cmAdd"));
    cmAdd->setEnabled(!proposals.isEmpty());
    cmCancel = new QPushButton(ctx.T(QStringLiteral("bvlProposals.cmCancel")), this);
    cmCancel->setObjectName(QStringLiteral("cmCancel"));
    connect(cmAdd, &QPushButton::clicked, this, &bvlProposals::cmAdd_Click);
    connect(cmCancel, &QPushButton::clicked, this, &bvlProposals::cmCancel_Click);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmAdd);
    buttons->addWidget(cmCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lbSummary);
    layout->addWidget(lsProposals);
    layout->addLayout(buttons);
    resize(760, 420);
    NameControls(ctx.lang, this);
}

SettingList bvlProposals::CheckedSettings() const
{
    SettingList checked;
    for (int row = 0; row < lsProposals->topLevelItemCount(); ++row)
        if (lsProposals->topLevelItem(row)->checkState(OffsetColumn) == Qt::Checked)
            checked << m_proposals[row].setting;
    return checked;
}

void bvlProposals::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    OpenInsideScreen(this, parentWidget());
}

void bvlProposals::cmAdd_Click()
{
    accept();
}

void bvlProposals::cmCancel_Click()
{
    reject();
}
