#pragma once
#include "seem/document/StateComparison.h"

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;
class ByteStore;
class SeemDocument;
struct AppContext;

// Compare with another image: the settings whose values differ between the document
// (edits included) and another SEEM image read through the same setting file. Selected
// rows take the other image's values into the window's controls, as one undo step;
// nothing is written until Save. The other image is only read.
class bvlCompare : public QDialog
{
    Q_OBJECT
public:
    // How the window takes values: as one undo step.
    using Take = std::function<void(const QVector<QPair<int, ControlState>> &states)>;

    bvlCompare(AppContext &context, SeemDocument &document, ByteStore &other, const QString &otherName, Take take,
               QWidget *parent = nullptr);

    // The list again from the document; the selection goes.
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
    SeemDocument &m_document;
    ByteStore &m_other;
    Take m_take;
    QVector<StateDifference> m_differences;
};
