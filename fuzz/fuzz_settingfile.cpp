// A whole setting file from hostile bytes. Besides surviving, the reader must agree with
// the writer: whatever it accepts encodes back to exactly the bytes it consumed.
#include "FuzzCheck.h"

#include "core/BvlError.h"
#include "core/SettingFile.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(input);
    buffer.open(QIODevice::ReadOnly);

    SettingFileHeader header = sentinelHeader();
    SettingList settings = sentinelSettings();
    try {
        ReadSettingStream(buffer, header, settings);
    } catch (const BvlError &) {
        // The outputs are handed over only on success.
        FUZZ_CHECK(header == sentinelHeader());
        FUZZ_CHECK(settings == sentinelSettings());
        return 0;
    }

    FUZZ_CHECK(header.SettingCount >= 1);
    FUZZ_CHECK(settings.size() == header.SettingCount);
    // Every byte value survives Windows-1252, so nothing read can fail to encode, and the
    // encoding is what the reader consumed: a prefix of the input (trailing bytes are ignored).
    const QByteArray encoded = EncodeSettingFile(header, settings);
    FUZZ_CHECK(input.startsWith(encoded));

    // The header-only reader sees the same header.
    QBuffer again;
    again.setData(input);
    again.open(QIODevice::ReadOnly);
    SettingFileHeader headerOnly;
    ReadSettingHeaderStream(again, headerOnly);
    FUZZ_CHECK(headerOnly == header);
    return 0;
}
