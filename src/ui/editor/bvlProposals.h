#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/DifferenceProposals.h"

#include <QDialog>
#include <QVector>

struct AppContext;
class QLabel;
class QPushButton;
class QTreeWidget;

// The drafts proposed for every undescribed difference, each with a check box: the
// checked ones are what Add takes over into the editor's settings. Drafts from many images
// show the values seen instead of the two images' values, and how many images back each.
class bvlProposals : public QDialog
{
    Q_OBJECT
public:
    bvlProposals(AppContext &ctx, const QVector<Proposal> &proposals, QWidget *owner, bool fromMany = false);

    // The drafts whose rows are checked, in offset order.
    SettingList CheckedSettings() const;

    void cmAdd_Click();
    void cmCancel_Click();

    enum Column {
        OffsetColumn,
        BitsColumn,
        TypeColumn,
        FirstColumn,
        SecondColumn,
        SupportColumn,
        NameColumn
    };

    QLabel *lbSummary;
    QTreeWidget *lsProposals;
    QPushButton *cmAdd;
    QPushButton *cmCancel;

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppContext &m_ctx;
    QVector<Proposal> m_proposals;
};
