#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <QSortFilterProxyModel>
#include <QString>
#include <QVector>

class ImageSurvey;

// A survey as a table: a row per setting (its GROUP\NAME in the first column), a column per
// image used in the order read. Every cell is worked out from the survey when the view asks
// for it, so that thousands of settings by a thousand images cost no more than what shows.
class SurveyModel : public QAbstractTableModel
{
public:
    // The first image used is the one the others are measured against: cells whose value
    // differs from its value are marked. settingHeader is the first column's title.
    SurveyModel(const ImageSurvey &survey, const QString &settingHeader, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The colours of a cell that differs from the first image's value (the theme's).
    void setMarkColours(const QColor &background, const QColor &text);
    // The survey's index of the image in column (1 and on).
    int imageOf(int column) const { return m_used.at(column - 1); }
    // True when the cell's value differs from the first image's.
    bool differs(int setting, int column) const;
    const ImageSurvey &survey() const { return m_survey; }

private:
    // The setting's distinct values with how many images hold each, as rich text.
    QString distinctValues(int setting) const;

    const ImageSurvey &m_survey;
    QString m_settingHeader;
    QVector<int> m_used;   // survey indexes of the images used, one per image column
    QColor m_markBackground;
    QColor m_markText;
};

// The rows of a SurveyModel, optionally only the settings that vary; sorted by any column.
class VaryingSettingsFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setVaryingOnly(bool only);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    bool m_varyingOnly = false;
};
