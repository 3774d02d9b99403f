#pragma once
#include "core/SettingTypes.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class SettingFileDocument;
struct AppContext;

// Compare with setting file: what differs between the setting editor's file, as it is now
// (unsaved edits included), and another setting file or the one on disk, setting by
// setting as CompareSettingFiles finds it: the header fields, the settings only one of
// them has, and for each setting both have the fields that differ with both values. The
// list follows the editor's edits; double-click a setting of the open file to select it
// in the editor. The other file is only read.
class bvlCompareSec : public QDialog
{
    Q_OBJECT
public:
    // otherName heads the other file's column ("demo.sec", or the file on disk).
    bvlCompareSec(AppContext &context, const SettingFileDocument &document, const QString &otherName,
                  const SettingFileHeader &otherHeader, const SettingList &otherSettings, QWidget *parent = nullptr);

    // The list again from the document as it is now.
    void FillUp();
    // The record of the open file a row (or a field row under it) stands for; 0 for none.
    int RecordOf(const QTreeWidgetItem *item) const;

    enum Column {
        SettingColumn,
        DifferenceColumn,
        ThisColumn,
        OtherColumn
    };

    QLabel *lbEqual = nullptr;
    QTreeWidget *tvDifferences = nullptr;
    QPushButton *cmClose = nullptr;

signals:
    // A setting of the open file was double-clicked.
    void recordChosen(int k);

private:
    QTreeWidgetItem *addRow(const QString &setting, const QString &difference, int record);

    AppContext &m_ctx;
    const SettingFileDocument &m_document;
    QString m_otherName;
    SettingFileHeader m_otherHeader;
    SettingList m_otherSettings;
};

// Sizes tree's columns to their texts (a long one cut at a width of its own, its tool tip
// holding it whole) and widens window, up to its screen, to show every column.
void FitColumnsAndWindow(QDialog *window, QTreeWidget *tree);
// Puts both values of a field into row at column and the one after it; a long value is cut
// in its column, so each is its cell's tool tip too.
void SetValueTexts(QTreeWidgetItem *row, int column, const QString &mine, const QString &other);
