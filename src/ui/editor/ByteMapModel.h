#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/BitCoverage.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <QVector>

#include <memory>

class ImageSurvey;

// The reference image as a table of 16 bytes a row (then their text), each byte coloured
// by what the settings say about it, and marked where a second image differs. Everything
// is computed from the bytes when asked, so a large image costs one coverage pass and
// the rows on screen. Over a survey of many images a byte is coloured by how many values
// it took instead, and marked where it varies in bits no setting describes.
class ByteMapModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int BytesPerRow = 16;
    static constexpr int TextColumn = BytesPerRow;

    // How a byte differs from the second image, or varies over the survey.
    enum class Difference {
        None,
        Described,
        Undescribed
    };

    // How much a byte varies over a survey, by the number of values it took.
    enum class Variation {
        None,
        Two,
        Few,   // up to FewValues
        Many
    };
    static constexpr int FewValues = 16;

    // The colours, also shown in the legend, for the theme of palette (the application's
    // when the cells are drawn, so that they follow a change of theme).
    static QColor StateColour(BitCoverage::ByteState state, const QPalette &palette = QGuiApplication::palette());
    static QColor UndescribedDifferenceColour(const QPalette &palette = QGuiApplication::palette());
    static QColor VariationColour(Variation variation, const QPalette &palette = QGuiApplication::palette());
    // Text colours readable on a cell of the given background, whatever the theme.
    static QColor DifferenceTextColour(const QColor &background);
    static QColor PlainTextColour(const QColor &background);

    explicit ByteMapModel(QObject *parent = nullptr);

    // Either image may be empty; the second counts only when its size equals the first's.
    void setImages(const QByteArray &reference, const QByteArray &second);
    void setSettings(const SettingList &settings);
    // A survey of images of the reference's size, shown instead of the second image; null
    // for none.
    void setSurvey(std::shared_ptr<const ImageSurvey> survey);
    // A cell's tool tip over a survey: "%1" values over "%2" images, "%3" the bits that
    // vary, "%4" those no setting describes.
    void setSurveyTip(const QString &pattern) { m_surveyTip = pattern; }
    // How assistive technology reads a byte's cell: pattern's "%1" is the offset, "%2" the
    // value, "%3" the settings that own bits of it, or noOwner when none does.
    void setCellReading(const QString &pattern, const QString &noOwner);

    const BitCoverage &coverage() const { return m_coverage; }
    const QByteArray &reference() const { return m_reference; }
    const QByteArray &second() const { return m_second; }
    bool hasSecond() const { return !m_second.isEmpty(); }
    bool hasSurvey() const { return m_survey != nullptr; }
    const ImageSurvey *survey() const { return m_survey.get(); }
    // Bits that differ from the second image or vary over the survey, and those of them no
    // setting owns.
    quint8 varyingBits(qint64 offset) const;
    quint8 undescribedBits(qint64 offset) const { return varyingBits(offset) & quint8(~m_coverage.ownedBits(offset)); }
    Variation variationAt(qint64 offset) const;
    const QVector<UndescribedDifference> &undescribedDifferences() const { return m_undescribed; }

    Difference differenceAt(qint64 offset) const;
    // The byte of a cell, -1 for the text column or past the image's end.
    qint64 offsetOf(const QModelIndex &index) const;
    QModelIndex indexOf(qint64 offset) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QColor backgroundAt(qint64 offset) const;
    void recompute();
    QString rowText(int row) const;
    QString cellReading(qint64 offset) const;
    QString surveyTip(qint64 offset) const;

    QByteArray m_reference;
    QByteArray m_second;
    std::shared_ptr<const ImageSurvey> m_survey;
    SettingList m_settings;
    BitCoverage m_coverage;
    QVector<UndescribedDifference> m_undescribed;
    QString m_cellPattern = QStringLiteral("Offset %1, value %2, %3");
    QString m_noOwner = QStringLiteral("not described");
    QString m_surveyTip = QStringLiteral("%1 values over %2 images; bits that vary: %3; undescribed: %4");
};
