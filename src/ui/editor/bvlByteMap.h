#pragma once
#include <QWidget>

#include <array>

struct AppContext;
class ByteMapModel;
class bvlEditSetting;
class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QTableView;
class QVBoxLayout;

// The reference image byte by byte beside the setting editor: coloured by what the
// editor's settings say about each byte, differences from the second image marked, the
// selected byte's bits and owners below. Follows the editor's settings and images as
// they change.
class bvlByteMap : public QWidget
{
    Q_OBJECT
public:
    bvlByteMap(AppContext &ctx, bvlEditSetting *editor);

    // The images and settings again from the editor.
    void Refresh();
    // Selects the byte at offset and shows it.
    void SelectByte(qint64 offset);
    // The first selected byte, -1 when none is.
    qint64 SelectedByte() const;

    void cmNewSetting_Click();
    void cmPropose_Click();
    void cmNext_Click();
    void cmPrevious_Click();
    void tvBytes_SelectionChanged();

    ByteMapModel *model() const { return m_model; }

    QLabel *lbCoverage;
    QTableView *tvBytes;
    QLabel *lbSelected;
    std::array<QCheckBox *, 8> chReferenceBit;   // indexed by bit number
    std::array<QCheckBox *, 8> chSecondBit;
    QLabel *lbOwners;
    QPushButton *cmNewSetting;
    QPushButton *cmPropose;
    QPushButton *cmNext;
    QPushButton *cmPrevious;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The legend's samples, one for each kind of cell.
    enum class LegendSample {
        Whole,
        Partly,
        Undescribed,
        Conflict,
        Differs,
        UndescribedDifference
    };
    static constexpr int LegendSampleCount = 6;

    QWidget *buildLegend();
    // The samples in the cells' colours for the map's palette, again on a change of theme.
    void applyLegendColours();
    QWidget *buildDetails();
    void showDetails(qint64 offset);
    void refreshSettings();
    // The bytes of the selection as [first, last], false when nothing is selected.
    bool selectedRange(qint64 &first, qint64 &last) const;

    AppContext &m_ctx;
    bool m_placed = false;   // opened inside the screen once; later the user's place stays
    bvlEditSetting *m_editor;
    ByteMapModel *m_model;
    QVBoxLayout *m_ownerRows;
    QWidget *m_ownerArea;
    std::array<QLabel *, LegendSampleCount> m_legendSamples{};
};
