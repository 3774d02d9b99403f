#include "ui/main/bvlSurvey.h"

#include "core/BvlError.h"
#include "core/OutputTarget.h"
#include "seem/survey/ImageSurvey.h"
#include "seem/survey/SurveyCsv.h"
#include "ui/AppContext.h"
#include "ui/CommandButtons.h"
#include "ui/ControlNames.h"
#include "ui/ThemeColours.h"
#include "ui/ThemeFollower.h"
#include "ui/Twips.h"
#include "ui/language/ApplyLanguage.h"
#include "ui/main/SurveyModel.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

bvlSurvey::bvlSurvey(AppContext &context, const ImageSurvey &survey, const QStringList &inputs, QWidget *parent)
    : QDialog(parent), m_ctx(context), m_survey(survey), m_inputs(inputs)
{
    setObjectName(QStringLiteral("bvlSurvey"));
    setWindowTitle(m_ctx.Title(QStringLiteral("bvlMain.mnfSurvey")));

    m_model = new SurveyModel(survey, m_ctx.T(QStringLiteral("bvlReviewChanges.sName_V")), this);
    m_filter = new VaryingSettingsFilter(this);
    m_filter->setSourceModel(m_model);
    m_filter->setSortCaseSensitivity(Qt::CaseInsensitive);

    tvSurvey = new QTableView(this);
    tvSurvey->setObjectName(QStringLiteral("tvSurvey"));
    tvSurvey->setModel(m_filter);
    tvSurvey->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvSurvey->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvSurvey->verticalHeader()->hide();
    // Setting order until a header is clicked.
    tvSurvey->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tvSurvey->setSortingEnabled(true);
    // Rows of one line: the view never measures every row of a long survey.
    tvSurvey->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Names and values as wide as they are, the images' file names in the header too (the
    // view measures the rows on screen only).
    tvSurvey->resizeColumnsToContents();

    chVaryingOnly = new QCheckBox(QStringLiteral("Solo le impostazioni che &variano"), this);
    chVaryingOnly->setObjectName(QStringLiteral("chVaryingOnly"));
    TagForCaption(chVaryingOnly);
    cmExportCsv = NewCommandButton(this, QStringLiteral("cmExportCsv"), QStringLiteral("&Esporta come CSV..."));
    cmClose = NewCommandButton(this, QStringLiteral("cmClose"), QStringLiteral("Chiudi"));

    auto *commands = new QHBoxLayout;
    commands->addWidget(chVaryingOnly);
    commands->addStretch();
    commands->addWidget(cmExportCsv);
    commands->addWidget(cmClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tvSurvey);
    layout->addLayout(commands);
    resize(TwipsToPixelsX(12000), TwipsToPixelsY(7500));

    connect(chVaryingOnly, &QCheckBox::toggled, this, [this] { chVaryingOnly_Click(); });
    connect(cmExportCsv, &QPushButton::clicked, this, [this] { cmExportCsv_Click(); });
    connect(cmClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(tvSurvey, &QTableView::doubleClicked, this, [this](const QModelIndex &index) { tvSurvey_DblClick(index); });
    connect(&ThemeFollower::Instance(), &ThemeFollower::themeChanged, this, [this](QWidget *window) {
        if (window == this)
            showMarkColours();
    });
    ApplyLanguage(m_ctx.lang, this);
    showMarkColours();
}

void bvlSurvey::showMarkColours()
{
    const QPalette palette = tvSurvey->palette();
    const QColor background =
        ThemeColours::MarkedBackground(palette.color(QPalette::Base), palette.color(QPalette::Text));
    m_model->setMarkColours(background, ThemeColours::ForBackground(ThemeColours::Changed, background));
}

void bvlSurvey::chVaryingOnly_Click()
{
    m_filter->setVaryingOnly(chVaryingOnly->isChecked());
    // The columns fit the rows shown now.
    tvSurvey->resizeColumnsToContents();
}

void bvlSurvey::tvSurvey_DblClick(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    m_goTo = m_filter->mapToSource(index).row() + 1;
    accept();
}

void bvlSurvey::cmExportCsv_Click()
{
    const QFileInfo first(m_survey.imageCount() > 0 ? m_survey.image(0).path : QString());
    const std::optional<QString> path =
        m_ctx.platform.saveFileName(m_ctx.Title(QStringLiteral("bvlSurvey.cmExportCsv")),
                                    m_ctx.T(QStringLiteral("bvlSurvey.cdFilterCsv_V")) + QStringLiteral("|*.csv|")
                                        + m_ctx.T(QStringLiteral("bvlMain.cdFilter1_V")) + QStringLiteral("|*.*"),
                                    JoinPath(first.absolutePath(), first.completeBaseName() + QStringLiteral(".csv")));
    if (!path)
        return;
    try {
        WriteOutputFile(*path, SurveyCsv(m_survey, chVaryingOnly->isChecked()), m_inputs);
    } catch (const BvlError &e) {
        m_ctx.platform.messageBox(m_ctx.T(QStringLiteral("bvlSurvey.sExportFailed_M")) + QStringLiteral(" \"") + *path
                                      + QStringLiteral("\": ") + QString::fromUtf8(e.what()),
                                  MsgIcon::Warning, MsgButtons::Ok);
    }
}
