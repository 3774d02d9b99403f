#pragma once
#include "core/SettingTypes.h"
#include "seem/authoring/BitCoverage.h"
#include "seem/files/SeemFileName.h"
#include "seem/values/SettingValueText.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Many images of one SEEM and record read through one setting file: each setting's value
// in every image, the distinct values with their counts, and which bytes and bits vary.
// Images are read one at a time and only their values are kept (an index per setting and
// image), so that a table of settings by images can sit over it without holding an image.

// One image given to the survey, and why it was left out when it was.
struct SurveyImage
{
    enum class Status {
        Used,
        Unreadable,    // the reader refused it: errorNumber and detail say why
        OtherSize,     // size differs from the first image used
        OtherRecord,   // its name carries numbers other than the setting file's header
    };
    QString path;
    Status status = Status::Used;
    int errorNumber = 0;     // BvlError number of an unreadable image
    QString detail;          // the reader's own words for it
    qint64 size = -1;        // when read
    SeemNameNumbers named;   // the name's numbers, for OtherRecord

    bool used() const { return status == Status::Used; }
};

// One distinct value of a setting over the images used, and how many hold it.
struct SurveyValue
{
    ValueText value;
    int count = 0;
};

// The paths a list of files and folders stands for, in the order given: a folder gives
// its *.seem entries by name (special files too, so that the survey names them).
QStringList SurveyImagePaths(const QStringList &filesOrFolders);

class ImageSurvey
{
public:
    ImageSurvey(const SettingFileHeader &header, const SettingList &settings);

    // Reads the image at path and counts it in, or leaves it out with its reason. Values
    // are decoded in the current code page, as the document decodes them. Never throws
    // for the image's sake; throws BvlError 7 when the statistics find no memory.
    const SurveyImage &add(const QString &path);
    // Called with the bytes of every image used, as it is counted in: what else wants to
    // look at them (drafts from many images) reads each image once with the survey.
    void setImageSink(std::function<void(const QByteArray &bytes)> sink) { m_sink = std::move(sink); }

    const SettingFileHeader &header() const { return m_header; }
    const SettingList &settings() const { return m_settings; }

    int imageCount() const { return m_images.size(); }
    const SurveyImage &image(int index) const { return m_images.at(index); }
    int usedCount() const { return m_used; }
    // The size of every image used; -1 before the first.
    qint64 imageSize() const { return m_size; }

    // Setting index (0-based) as in settings().
    const QVector<SurveyValue> &values(int setting) const { return m_rows.at(setting).values; }
    bool varies(int setting) const { return m_rows.at(setting).values.size() > 1; }
    // The position in values(setting) of what image holds; -1 for an image left out.
    int valueIndex(int setting, int image) const;
    // The images (indexes into image()) that hold each of values(setting), in image order.
    QVector<QVector<int>> imagesByValue(int setting) const;

    // Per byte offset over the images used.
    int distinctByteValues(qint64 offset) const;
    quint8 varyingBits(qint64 offset) const { return quint8(m_varying.at(offset)); }
    // The varying bits no setting owns, in offset order.
    QVector<UndescribedDifference> undescribedVariation() const;

private:
    struct Row
    {
        QVector<SurveyValue> values;
        // The owned bytes seen (masked) and the value each decoded to: a value repeated
        // over images is decoded once. Bytes past a string's terminator can make two keys
        // for one value; there are never more keys than images.
        QHash<QByteArray, int> byBytes;
        QHash<QString, int> byValue;
    };

    void count(const QByteArray &bytes, int imageIndex);
    int valueOf(int setting, const QByteArray &bytes);
    void countBytes(const QByteArray &bytes);

    SettingFileHeader m_header;
    SettingList m_settings;
    QVector<Row> m_rows;
    // Per image used, the value index of each setting; empty for an image left out.
    QVector<QVector<qint32>> m_columns;
    QVector<SurveyImage> m_images;
    int m_used = 0;
    qint64 m_size = -1;
    QByteArray m_first;     // the first image used, to which the others are compared
    QByteArray m_varying;   // per byte: bits that differ from the first image in some image
    QByteArray m_seen;      // per byte: 256 bits, one per value seen
    std::function<void(const QByteArray &)> m_sink;
};
