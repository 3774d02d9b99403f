#include "seem/survey/ImageSurvey.h"

#include "core/BvlError.h"
#include "seem/authoring/RecordMatch.h"
#include "seem/files/ImageBytes.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/values/OwnedBytes.h"

#include <QDir>
#include <QFileInfo>

#include <new>

namespace {

constexpr qint64 SeenBytesPerOffset = 256 / 8;

// The bytes a setting's value is decoded from, with the bits it does not own cleared, or
// nothing when the span lies outside the image (every image used has one size).
QByteArray OwnedKey(const QByteArray &image, const OwnedSpan &span, char &masked)
{
    if (!SpanInsideImage(span, image.size()) || span.size == 0)
        return QByteArray();
    if (span.size == 1) {
        masked = char(quint8(image.at(span.offset)) & span.mask);
        return QByteArray::fromRawData(&masked, 1);
    }
    return QByteArray::fromRawData(image.constData() + span.offset, span.size);
}

// Distinct ValueTexts as one hash key each: the words shown, or the reason they are not.
QString ValueKey(const ValueText &value)
{
    return (value.decoded      ? QLatin1Char('v')
            : value.unreadable ? QLatin1Char('u')
                               : QLatin1Char('r'))
           + (value.decoded ? value.text : value.reason);
}

}   // namespace

QStringList SurveyImagePaths(const QStringList &filesOrFolders)
{
    QStringList paths;
    for (const QString &given : filesOrFolders) {
        const QFileInfo info(given);
        if (!info.isDir()) {
            paths << given;
            continue;
        }
        const QDir folder(given);
        const QStringList names =
            folder.entryList({QStringLiteral("*.seem")}, QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
        for (const QString &name : names)
            paths << folder.filePath(name);
    }
    return paths;
}

ImageSurvey::ImageSurvey(const SettingFileHeader &header, const SettingList &settings)
    : m_header(header), m_settings(settings), m_rows(settings.size())
{}

const SurveyImage &ImageSurvey::add(const QString &path)
{
    SurveyImage image;
    image.path = path;
    QByteArray bytes;
    if (NameSaysOtherRecord(QFileInfo(path).fileName(), m_header, image.named)) {
        image.status = SurveyImage::Status::OtherRecord;
    } else {
        try {
            bytes = ReadWholeImage(path);
            image.size = bytes.size();
            if (m_size >= 0 && image.size != m_size)
                image.status = SurveyImage::Status::OtherSize;
        } catch (const BvlError &e) {
            image.status = SurveyImage::Status::Unreadable;
            image.errorNumber = e.number();
            image.detail = QString::fromUtf8(e.what());
        }
    }
    m_images.append(image);
    m_columns.append(QVector<qint32>());
    if (image.used()) {
        try {
            count(bytes, m_images.size() - 1);
        } catch (const std::bad_alloc &) {
            throw BvlError(ErrNo::OutOfMemory, QStringLiteral("the survey of %1 images").arg(m_used));
        }
    }
    return m_images.last();
}

void ImageSurvey::count(const QByteArray &bytes, int imageIndex)
{
    if (m_size < 0) {
        // Per-byte statistics are sized by the first image used.
        m_size = bytes.size();
        m_first = bytes;
        m_varying = QByteArray(bytes.size(), '\0');
        m_seen = QByteArray(bytes.size() * SeenBytesPerOffset, '\0');
    }
    QVector<qint32> &column = m_columns[imageIndex];
    column.resize(m_settings.size());
    for (int s = 0; s < m_settings.size(); ++s)
        column[s] = valueOf(s, bytes);
    countBytes(bytes);
    if (m_sink)
        m_sink(bytes);
    ++m_used;
}

int ImageSurvey::valueOf(int setting, const QByteArray &bytes)
{
    Row &row = m_rows[setting];
    const SettingStruct &s = m_settings.at(setting);
    char masked = 0;
    const QByteArray key = OwnedKey(bytes, OwnedSpanOf(s), masked);
    auto known = row.byBytes.constFind(key);
    int index;
    if (known != row.byBytes.constEnd()) {
        index = known.value();
    } else {
        // Decoded as the document decodes it, the codec reading the image in memory.
        MemoryByteStore store(bytes);
        const ValueText value = DecodeValueText(store, s);
        const QString valueKey = ValueKey(value);
        auto same = row.byValue.constFind(valueKey);
        if (same != row.byValue.constEnd()) {
            index = same.value();
        } else {
            index = row.values.size();
            row.values.append(SurveyValue{value, 0});
            row.byValue.insert(valueKey, index);
        }
        // The key points into the image or at masked: it is copied to be kept.
        row.byBytes.insert(QByteArray(key.constData(), key.size()), index);
    }
    ++row.values[index].count;
    return index;
}

void ImageSurvey::countBytes(const QByteArray &bytes)
{
    const auto *in = reinterpret_cast<const quint8 *>(bytes.constData());
    const auto *first = reinterpret_cast<const quint8 *>(m_first.constData());
    auto *varying = reinterpret_cast<quint8 *>(m_varying.data());
    auto *seen = reinterpret_cast<quint8 *>(m_seen.data());
    const qint64 size = bytes.size();
    for (qint64 i = 0; i < size; ++i) {
        const quint8 v = in[i];
        varying[i] |= quint8(v ^ first[i]);
        seen[i * SeenBytesPerOffset + (v >> 3)] |= quint8(1u << (v & 7));
    }
}

int ImageSurvey::valueIndex(int setting, int image) const
{
    const QVector<qint32> &column = m_columns.at(image);
    return column.isEmpty() ? -1 : column.at(setting);
}

QVector<QVector<int>> ImageSurvey::imagesByValue(int setting) const
{
    QVector<QVector<int>> images(m_rows.at(setting).values.size());
    for (int i = 0; i < m_images.size(); ++i)
        if (const int v = valueIndex(setting, i); v >= 0)
            images[v].append(i);
    return images;
}

int ImageSurvey::distinctByteValues(qint64 offset) const
{
    int distinct = 0;
    for (qint64 k = 0; k < SeenBytesPerOffset; ++k)
        distinct += qPopulationCount(quint8(m_seen.at(offset * SeenBytesPerOffset + k)));
    return distinct;
}

QVector<UndescribedDifference> ImageSurvey::undescribedVariation() const
{
    QVector<UndescribedDifference> found;
    if (m_size < 0)
        return found;
    const BitCoverage coverage(m_settings, m_size);
    for (qint64 offset = 0; offset < m_varying.size(); ++offset) {
        const quint8 bits = quint8(m_varying.at(offset)) & quint8(~coverage.ownedBits(offset));
        if (bits != 0)
            found.append(UndescribedDifference{offset, bits});
    }
    return found;
}
