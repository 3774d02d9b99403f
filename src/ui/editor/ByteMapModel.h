#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/BitCoverage.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QColor>
#include <QGuiApplication>
#include <QPalette>
#include <QVector>

// The reference image as a table of 16 bytes a row (then their text), each byte coloured
// by what the settings say about it, and marked where a second image differs. Everything
// is computed from the bytes when asked, so a large image costs one coverage pass and
// the rows on screen.
class ByteMapModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int BytesPerRow = 16;
    static constexpr int TextColumn = BytesPerRow;

    // How a byte differs from the second image.
    enum class Difference {
        None,
        Described,
        Undescribed
    };

    // The colours, also shown in the legend, for the theme of palette (the application's
    // when the cells are drawn, so that they follow a change of theme).
    static QColor StateColour(BitCoverage::ByteState state, const QPalette &palette = QGuiApplication::palette());
    static QColor UndescribedDifferenceColour(const QPalette &palette = QGuiApplication::palette());
    // Text colours readable on a cell of the given background, whatever the theme.
    static QColor DifferenceTextColour(const QColor &background);
    static QColor PlainTextColour(const QColor &background);

    explicit ByteMapModel(QObject *parent = nullptr);

    // Either image may be empty; the second counts only when its size equals the first's.
    void setImages(const QByteArray &reference, const QByteArray &second);
    void setSettings(const SettingList &settings);
    // How assistive technology reads a byte's cell: pattern's "%1" is the offset, "%2" the
    // value, "%3" the settings that own bits of it, or noOwner when none does.
    void setCellReading(const QString &pattern, const QString &noOwner);

    const BitCoverage &coverage() const { return m_coverage; }
    const QByteArray &reference() const { return m_reference; }
    const QByteArray &second() const { return m_second; }
    bool hasSecond() const { return !m_second.isEmpty(); }
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

    QByteArray m_reference;
    QByteArray m_second;
    SettingList m_settings;
    BitCoverage m_coverage;
    QVector<UndescribedDifference> m_undescribed;
    QString m_cellPattern = QStringLiteral("Offset %1, value %2, %3");
    QString m_noOwner = QStringLiteral("not described");
};
