#pragma once
#include "seem/document/StateComparison.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;
class ByteStore;
class bvlMain;
struct AppContext;

// Compare with another image: the settings whose values differ between the controls
// (edits included) and another SEEM image read through the same setting file. Selected
// rows take the other image's values into the controls, as one undo step; nothing is
// written until Save. The other image is only read.
class bvlCompare : public QDialog
{
    Q_OBJECT
public:
    bvlCompare(AppContext &context, bvlMain &window, ByteStore &other, const QString &otherName);

    // The list again from the window's controls; the selection goes.
    void FillUp();
    QVector<int> SelectedSettings() const;

    void cmTake_Click();
    void cmClose_Click();

    QLabel *lbNoDifferences = nullptr;
    QTreeWidget *lsDifferences = nullptr;
    QPushButton *cmTake = nullptr;
    QPushButton *cmClose = nullptr;

    enum Column {
        GroupColumn,
        NameColumn,
        ThisColumn,
        OtherColumn
    };

private:
    AppContext &m_ctx;
    bvlMain &m_window;
    ByteStore &m_other;
    QVector<StateDifference> m_differences;
};
