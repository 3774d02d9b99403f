#pragma once
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QPushButton;
class QTableView;
class ImageSurvey;
class SurveyModel;
class VaryingSettingsFilter;
struct AppContext;

// Several images: the survey of the open image and the ones chosen, a row per setting and a
// column per image used, the open image first. Cells whose value differs from the open
// image's are marked; a row's double-click closes the window to show that setting.
class bvlSurvey : public QDialog
{
    Q_OBJECT
public:
    // inputs: the files the survey read (the setting file too), which an export never replaces.
    bvlSurvey(AppContext &context, const ImageSurvey &survey, const QStringList &inputs, QWidget *parent = nullptr);

    // The setting (1-based) chosen by a double-click; 0 when none was.
    int GoToSetting() const { return m_goTo; }

    void chVaryingOnly_Click();
    void cmExportCsv_Click();
    void tvSurvey_DblClick(const QModelIndex &index);

    QTableView *tvSurvey = nullptr;
    QCheckBox *chVaryingOnly = nullptr;
    QPushButton *cmExportCsv = nullptr;
    QPushButton *cmClose = nullptr;

private:
    void showMarkColours();

    AppContext &m_ctx;
    const ImageSurvey &m_survey;
    QStringList m_inputs;
    SurveyModel *m_model = nullptr;
    VaryingSettingsFilter *m_filter = nullptr;
    int m_goTo = 0;
};
