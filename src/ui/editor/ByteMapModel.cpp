#include "ui/editor/ByteMapModel.h"

#include "core/CodePage.h"
#include "core/Conversions.h"
#include "seem/survey/ImageSurvey.h"
#include "ui/ThemeColours.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

QColor ByteMapModel::StateColour(BitCoverage::ByteState state, const QPalette &palette)
{
    // Pale cells on a light theme, deep ones on a dark theme: the text on each follows it.
    const bool dark = ThemeColours::IsDark(palette);
    switch (state) {
    case BitCoverage::ByteState::Whole:
        return dark ? QColor(28, 78, 28) : QColor(140, 205, 140);
    case BitCoverage::ByteState::Partly:
        return dark ? QColor(20, 50, 20) : QColor(205, 235, 205);
    case BitCoverage::ByteState::Conflict:
        return dark ? QColor(118, 32, 18) : QColor(250, 140, 110);
    case BitCoverage::ByteState::Undescribed:
        break;
    }
    return palette.color(QPalette::Base);
}

QColor ByteMapModel::UndescribedDifferenceColour(const QPalette &palette)
{
    return ThemeColours::IsDark(palette) ? QColor(112, 88, 0) : QColor(255, 215, 0);
}

QColor ByteMapModel::VariationColour(Variation variation, const QPalette &palette)
{
    // Deeper the more values a byte takes, blue so as not to read as coverage or conflict.
    const bool dark = ThemeColours::IsDark(palette);
    switch (variation) {
    case Variation::Two:
        return dark ? QColor(28, 52, 92) : QColor(205, 225, 250);
    case Variation::Few:
        return dark ? QColor(36, 72, 138) : QColor(140, 185, 245);
    case Variation::Many:
        return dark ? QColor(52, 98, 190) : QColor(80, 140, 235);
    case Variation::None:
        break;
    }
    return palette.color(QPalette::Base);
}

QColor ByteMapModel::DifferenceTextColour(const QColor &background)
{
    return ThemeColours::ForBackground(ThemeColours::Changed, background);
}

QColor ByteMapModel::PlainTextColour(const QColor &background)
{
    // Whichever of black and white reads better on the cell.
    return ThemeColours::Contrast(Qt::black, background) >= ThemeColours::Contrast(Qt::white, background)
               ? QColor(Qt::black)
               : QColor(Qt::white);
}

QColor ByteMapModel::backgroundAt(qint64 offset) const
{
    if (hasSurvey()) {
        const Variation variation = variationAt(offset);
        return variation == Variation::None ? StateColour(m_coverage.stateAt(offset), QGuiApplication::palette())
                                            : VariationColour(variation, QGuiApplication::palette());
    }
    if (differenceAt(offset) == Difference::Undescribed)
        return UndescribedDifferenceColour(QGuiApplication::palette());
    return StateColour(m_coverage.stateAt(offset), QGuiApplication::palette());
}

ByteMapModel::ByteMapModel(QObject *parent) : QAbstractTableModel(parent) {}

void ByteMapModel::setImages(const QByteArray &reference, const QByteArray &second)
{
    beginResetModel();
    m_reference = reference;
    m_second = second.size() == reference.size() ? second : QByteArray();
    if (m_survey && m_survey->imageSize() != reference.size())
        m_survey.reset();
    recompute();
    endResetModel();
}

void ByteMapModel::setSettings(const SettingList &settings)
{
    m_settings = settings;
    recompute();
    // The rows stay; only colours and marks change.
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole});
}

void ByteMapModel::setSurvey(std::shared_ptr<const ImageSurvey> survey)
{
    beginResetModel();
    m_survey = survey && survey->imageSize() == m_reference.size() ? std::move(survey) : nullptr;
    recompute();
    endResetModel();
}

void ByteMapModel::setCellReading(const QString &pattern, const QString &noOwner)
{
    m_cellPattern = pattern;
    m_noOwner = noOwner;
}

QString ByteMapModel::cellReading(qint64 offset) const
{
    QStringList owners;
    for (const ByteOwner &owner : OwnersOfByte(m_settings, offset))
        owners << m_settings.at(owner.index - 1).Name;
    const QString hex = QString::number(offset, 16).toUpper();
    return m_cellPattern.arg(hex, data(indexOf(offset), Qt::DisplayRole).toString(),
                             owners.isEmpty() ? m_noOwner : owners.join(QStringLiteral(", ")));
}

void ByteMapModel::recompute()
{
    m_coverage = BitCoverage(m_settings, m_reference.size());
    m_undescribed.clear();
    if (hasSurvey()) {
        for (qint64 offset = 0; offset < m_reference.size(); ++offset)
            if (const quint8 bits = undescribedBits(offset))
                m_undescribed.append(UndescribedDifference{offset, bits});
    } else if (hasSecond()) {
        m_undescribed = UndescribedDifferences(m_coverage, m_reference, m_second);
    }
}

quint8 ByteMapModel::varyingBits(qint64 offset) const
{
    if (hasSurvey())
        return m_survey->varyingBits(offset);
    return hasSecond() ? quint8(m_reference.at(offset) ^ m_second.at(offset)) : 0;
}

ByteMapModel::Variation ByteMapModel::variationAt(qint64 offset) const
{
    const int values = hasSurvey() ? m_survey->distinctByteValues(offset) : 1;
    return values <= 1           ? Variation::None
           : values == 2         ? Variation::Two
           : values <= FewValues ? Variation::Few
                                 : Variation::Many;
}

ByteMapModel::Difference ByteMapModel::differenceAt(qint64 offset) const
{
    const quint8 differing = varyingBits(offset);
    if (differing == 0)
        return Difference::None;
    return (differing & ~m_coverage.ownedBits(offset)) ? Difference::Undescribed : Difference::Described;
}

QString ByteMapModel::surveyTip(qint64 offset) const
{
    return m_surveyTip.arg(QString::number(m_survey->distinctByteValues(offset)),
                           QString::number(m_survey->usedCount()), ValueToBitText(varyingBits(offset)),
                           ValueToBitText(undescribedBits(offset)));
}

qint64 ByteMapModel::offsetOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.column() >= BytesPerRow)
        return -1;
    const qint64 offset = qint64(index.row()) * BytesPerRow + index.column();
    return offset < m_reference.size() ? offset : -1;
}

QModelIndex ByteMapModel::indexOf(qint64 offset) const
{
    return index(int(offset / BytesPerRow), int(offset % BytesPerRow));
}

int ByteMapModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int((m_reference.size() + BytesPerRow - 1) / BytesPerRow);
}

int ByteMapModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : BytesPerRow + 1;
}

QString ByteMapModel::rowText(int row) const
{
    const QByteArray bytes = m_reference.mid(qint64(row) * BytesPerRow, BytesPerRow);
    QString text = CodePage::decode(bytes);
    for (QChar &c : text)
        if (!c.isPrint())
            c = QLatin1Char('.');
    return text;
}

QVariant ByteMapModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (index.column() == TextColumn)
        return role == Qt::DisplayRole ? QVariant(rowText(index.row())) : QVariant();
    const qint64 offset = offsetOf(index);
    if (offset < 0)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return QString::number(quint8(m_reference.at(offset)), 16).toUpper().rightJustified(2, QLatin1Char('0'));
    case Qt::BackgroundRole:
        return backgroundAt(offset);
    case Qt::ForegroundRole:
        return differenceAt(offset) == Difference::None ? PlainTextColour(backgroundAt(offset))
                                                        : DifferenceTextColour(backgroundAt(offset));
    case Qt::FontRole:
        if (differenceAt(offset) != Difference::None) {
            QFont bold = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            bold.setBold(true);
            // Over a survey the background tells how much a byte varies: undescribed bits
            // are marked on the text.
            bold.setUnderline(hasSurvey() && differenceAt(offset) == Difference::Undescribed);
            return bold;
        }
        return QVariant();
    case Qt::ToolTipRole:
        return hasSurvey() ? QVariant(surveyTip(offset)) : QVariant();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::AccessibleTextRole:
        return cellReading(offset);
    default:
        return QVariant();
    }
}

QVariant ByteMapModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return QString::number(qint64(section) * BytesPerRow, 16).toUpper().rightJustified(8, QLatin1Char('0'));
    if (section == TextColumn)
        return QString();
    return QString::number(section, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}
