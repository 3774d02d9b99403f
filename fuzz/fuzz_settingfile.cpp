// A whole setting file from hostile bytes. Besides surviving, the reader must agree with
// the writer: whatever it accepts encodes back to exactly the bytes it consumed, and its
// JSON form reads back as the same file.
#include "FuzzCheck.h"

#include "core/BvlError.h"
#include "core/JsonFields.h"
#include "core/SettingFile.h"
#include "core/SettingFileJson.h"

#include <QBuffer>
#include <QJsonDocument>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// Recognisable contents, so a failed read that touched the outputs shows up.
SettingFileHeader sentinelHeader()
{
    SettingFileHeader h;
    h.Magic = QStringLiteral("old");
    h.Author = QStringLiteral("previous file");
    h.SettingCount = 1;
    return h;
}

SettingList sentinelSettings()
{
    SettingStruct s;
    s.Name = QStringLiteral("previous setting");
    return {s};
}

// A device that cannot seek, as a pipe is: the reader drains it first. (A QBuffer that
// merely claims to be sequential would not do: Qt then reads it in huge chunks.)
class SequentialDevice : public QIODevice
{
public:
    explicit SequentialDevice(const QByteArray &data) : m_data(data) {}
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_data.size() - m_pos + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char *out, qint64 maxSize) override
    {
        const qint64 count = qMin(maxSize, m_data.size() - m_pos);
        if (count <= 0)
            return -1;   // the end of the stream
        std::memcpy(out, m_data.constData() + m_pos, size_t(count));
        m_pos += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_pos = 0;
};

// Reads input from a sequential device; true and the outputs set on success.
bool readSequentially(const QByteArray &input, SettingFileHeader &header, SettingList &settings)
{
    SequentialDevice device(input);
    device.open(QIODevice::ReadOnly);
    try {
        ReadSettingStream(device, header, settings);
        return true;
    } catch (const BvlError &) {
        return false;
    }
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(input);
    buffer.open(QIODevice::ReadOnly);

    SettingFileHeader header = sentinelHeader();
    SettingList settings = sentinelSettings();
    // A device that cannot seek must give the same answer as one that can.
    SettingFileHeader sequentialHeader;
    SettingList sequentialSettings;
    const bool sequentialRead = readSequentially(input, sequentialHeader, sequentialSettings);
    try {
        ReadSettingStream(buffer, header, settings);
    } catch (const BvlError &) {
        // The outputs are handed over only on success.
        FUZZ_CHECK(header == sentinelHeader());
        FUZZ_CHECK(settings == sentinelSettings());
        FUZZ_CHECK(!sequentialRead);
        return 0;
    }
    FUZZ_CHECK(sequentialRead && sequentialHeader == header && sequentialSettings == settings);

    FUZZ_CHECK(header.SettingCount >= 1);
    FUZZ_CHECK(settings.size() == header.SettingCount);
    // Every byte value survives Windows-1252, so nothing read can fail to encode, and the
    // encoding is what the reader consumed: a prefix of the input (trailing bytes are ignored).
    const QByteArray encoded = EncodeSettingFile(header, settings);
    FUZZ_CHECK(input.startsWith(encoded));
    // Its JSON form gives the same file back, whatever bytes the texts hold.
    const QByteArray json = QJsonDocument(SettingFileToJson(header, settings)).toJson(QJsonDocument::Indented);
    SettingFileHeader jsonHeader;
    SettingList jsonSettings;
    SettingFileFromJson(ParseJsonObject(json), jsonHeader, jsonSettings);
    FUZZ_CHECK(jsonHeader == header && jsonSettings == settings);
    // The size limit of the JSON counts its text to the byte.
    SettingFileToJson(header, settings, json.size());
    try {
        SettingFileToJson(header, settings, json.size() - 1);
        FUZZ_CHECK(!"a JSON one byte over its limit was made");
    } catch (const BvlError &e) {
        FUZZ_CHECK(e.number() == ErrNo::FileTooLarge);
    }

    // The header-only reader sees the same header.
    QBuffer again;
    again.setData(input);
    again.open(QIODevice::ReadOnly);
    SettingFileHeader headerOnly;
    ReadSettingHeaderStream(again, headerOnly);
    FUZZ_CHECK(headerOnly == header);
    return 0;
}
