#pragma once
#include "core/SettingTypes.h"

#include <QWidget>

#include <array>

struct AppContext;
class ByteMapModel;
class ReferenceImageSet;
class SettingFileDocument;
class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QTableView;
class QVBoxLayout;

// The reference image byte by byte beside the setting editor: coloured by what the
// setting file's records say about each byte, differences from the second image marked,
// the selected byte's bits and owners below. A view of the document and the images: it
// follows them as they change and asks the editor, through its signals, to edit or add.
class bvlByteMap : public QWidget
{
    Q_OBJECT
public:
    // images: a survey of images from a folder is put in beside the reference.
    bvlByteMap(AppContext &ctx, const SettingFileDocument &document, ReferenceImageSet &images, QWidget *owner);

    // The images and records again.
    void Refresh();
    // Selects the byte at offset and shows it.
    void SelectByte(qint64 offset);
    // The first selected byte, -1 when none is.
    qint64 SelectedByte() const;

    void cmNewSetting_Click();
    void cmPropose_Click();
    // Images from a folder (or several): surveyed with the reference, the map shows how
    // much each byte varies over them, and the proposals are made from all of them.
    void cmSurveyImages_Click();
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
    QPushButton *cmSurveyImages;
    QPushButton *cmNext;
    QPushButton *cmPrevious;

signals:
    // An owner's button: edit record k.
    void editRecordRequested(int k);
    // A setting drafted from the selection, for the setting dialog.
    void draftChosen(const SettingStruct &draft);
    // The proposals the user took, to be added as they are.
    void draftsChosen(const SettingList &records);

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
        UndescribedDifference,
        VariesTwo,   // over a survey
        VariesFew,
        VariesMany,
        UndescribedVaries
    };
    static constexpr int LegendSampleCount = 10;

    QWidget *buildLegend();
    // The samples in the cells' colours for the map's palette, again on a change of theme.
    void applyLegendColours();
    QWidget *buildDetails();
    void showDetails(qint64 offset);
    // The legend's entries for a second image or for a survey.
    void showLegendFor(bool survey);
    void refreshSettings();
    // The bytes of the selection as [first, last], false when nothing is selected.
    bool selectedRange(qint64 &first, qint64 &last) const;

    AppContext &m_ctx;
    bool m_placed = false;   // opened inside the screen once; later the user's place stays
    const SettingFileDocument &m_document;
    ReferenceImageSet &m_images;
    ByteMapModel *m_model;
    QVBoxLayout *m_ownerRows;
    QWidget *m_ownerArea;
    std::array<QLabel *, LegendSampleCount> m_legendSamples{};
    std::array<QLabel *, LegendSampleCount> m_legendTexts{};
    QLabel *m_lbSecond = nullptr;
    QLabel *m_lbVarying = nullptr;
};
