// The header alone, as the automatic choice reads every candidate file's header.
#include "FuzzCheck.h"

#include "core/BvlError.h"
#include "core/SettingFile.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(input);
    buffer.open(QIODevice::ReadOnly);

    SettingFileHeader header;
    try {
        ReadSettingHeaderStream(buffer, header);
    } catch (const BvlError &) {
        return 0;
    }
    // The header encodes back to the bytes it was read from, whatever follows them.
    FUZZ_CHECK(input.startsWith(EncodeSettingFile(header, SettingList())));
    // The check never throws and gives one of its three answers for any header.
    const HeaderCheck check = CheckSettingHeader(header);
    FUZZ_CHECK(check == HeaderCheck::Accepted || check == HeaderCheck::UnknownFile
               || check == HeaderCheck::UnsupportedVersion);
    FUZZ_CHECK((check == HeaderCheck::Accepted) == (input.startsWith("sec\x03")));
    return 0;
}
