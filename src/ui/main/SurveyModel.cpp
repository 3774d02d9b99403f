#include "ui/main/SurveyModel.h"

#include "seem/document/SettingLookup.h"
#include "seem/survey/ImageSurvey.h"
#include "seem/survey/SurveyCsv.h"

#include <QFileInfo>

namespace {
// Distinct values listed in a cell's tool tip; the rest are counted.
constexpr int ListedValues = 20;
}   // namespace

SurveyModel::SurveyModel(const ImageSurvey &survey, const QString &settingHeader, QObject *parent)
    : QAbstractTableModel(parent), m_survey(survey), m_settingHeader(settingHeader)
{
    for (int i = 0; i < survey.imageCount(); ++i)
        if (survey.image(i).used())
            m_used.append(i);
}

int SurveyModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_survey.settings().size();
}

int SurveyModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1 + m_used.size();
}

bool SurveyModel::differs(int setting, int column) const
{
    return column > 1 && m_survey.valueIndex(setting, imageOf(column)) != m_survey.valueIndex(setting, m_used.first());
}

QVariant SurveyModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int setting = index.row();
    const int column = index.column();
    if (column == 0)
        return role == Qt::DisplayRole ? QVariant(SettingPathOf(m_survey.settings().at(setting))) : QVariant();
    switch (role) {
    case Qt::DisplayRole: {
        const int value = m_survey.valueIndex(setting, imageOf(column));
        return SurveyValueText(m_survey.values(setting).at(value).value);
    }
    case Qt::BackgroundRole:
        return differs(setting, column) ? QVariant(m_markBackground) : QVariant();
    case Qt::ForegroundRole:
        return differs(setting, column) ? QVariant(m_markText) : QVariant();
    case Qt::ToolTipRole:
        return distinctValues(setting);
    default:
        return QVariant();
    }
}

QString SurveyModel::distinctValues(int setting) const
{
    const QVector<SurveyValue> &values = m_survey.values(setting);
    // Rich text, so that a value that looks like markup shows as written.
    QString text = QStringLiteral("<qt>");
    for (int v = 0; v < values.size() && v < ListedValues; ++v) {
        if (v > 0)
            text += QStringLiteral("<br>");
        text += QStringLiteral("%1: %2").arg(SurveyValueText(values.at(v).value).toHtmlEscaped(),
                                             QString::number(values.at(v).count));
    }
    if (values.size() > ListedValues)
        text += QStringLiteral("<br>(+%1)").arg(QString::number(values.size() - ListedValues));
    return text + QStringLiteral("</qt>");
}

QVariant SurveyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == 0)
        return role == Qt::DisplayRole ? QVariant(m_settingHeader) : QVariant();
    const QString path = m_survey.image(imageOf(section)).path;
    if (role == Qt::DisplayRole)
        return QFileInfo(path).fileName();
    if (role == Qt::ToolTipRole)
        return path;
    return QVariant();
}

void SurveyModel::setMarkColours(const QColor &background, const QColor &text)
{
    m_markBackground = background;
    m_markText = text;
    if (rowCount() > 0 && columnCount() > 1)
        emit dataChanged(index(0, 1), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole});
}

void VaryingSettingsFilter::setVaryingOnly(bool only)
{
    if (only == m_varyingOnly)
        return;
    m_varyingOnly = only;
    invalidateFilter();
}

bool VaryingSettingsFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    if (!m_varyingOnly)
        return true;
    return static_cast<const SurveyModel *>(sourceModel())->survey().varies(sourceRow);
}
