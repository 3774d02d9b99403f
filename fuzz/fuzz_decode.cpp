// The value codec between hostile setting files and hostile SEEM images.
//
// Input: a 2-byte little-endian length n, then n bytes of setting file, then the SEEM
// image. Every setting is decoded from the image and its decoded state encoded back
// through a pending-writes overlay onto a watched copy of the image: the image never
// changes size, a setting writes only the bytes and bits it owns, and a state decoded
// exactly is written back without changing a byte.
#include "FuzzCheck.h"
#include "WatchedImage.h"

#include "core/BvlError.h"
#include "core/Conversions.h"
#include "core/SettingFile.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/files/SeemFile.h"
#include "seem/values/SettingCodec.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

namespace {

bool readSettings(const QByteArray &bytes, SettingList &settings)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    SettingFileHeader header;
    try {
        ReadSettingStream(buffer, header, settings);
        return true;
    } catch (const BvlError &) {
        return false;
    }
}

// Decodes s from image and encodes the result into target. Returns true when the decoded
// state is exactly what the bytes hold, so that writing it back must change nothing.
bool roundTrip(MemoryByteStore &image, ByteStore &target, const SettingStruct &s, const QByteArray &bytes)
{
    using namespace SettingCodec;
    switch (SettingType(s.Type)) {
    case SettingType::Checkbox: {
        const bool checked = DecodeChecked(image, s);
        EncodeChecked(target, s, checked);
        // Both calls succeeded, so the value text written is a number.
        const qint32 written = DecimalToLong(SplitValues(s.Values).at(checked ? 0 : 1));
        return (quint8(bytes.at(s.Offset)) & s.BitMask) == written;
    }
    case SettingType::ValueList: {
        const int index = DecodeListIndex(image, s);
        if (index < 0) {
            // No entry selected: the main window refuses to save; the codec still may not
            // stray when given any value of the list. (No match means every text converted.)
            const QVector<qint32> values = ValueNumbers(s);
            if (!values.isEmpty())
                EncodeListValue(target, s, values.first());
            return false;
        }
        EncodeListValue(target, s, DecimalToLong(SplitValues(s.Values).at(index)));
        return true;
    }
    default: {
        const QString text = DecodeText(image, s);
        EncodeText(target, s, text);
        const int limit = MaxTextLength(s);
        // A string that filled its field without a terminator is cut to make room for one.
        return limit < 0 || text.size() <= limit;
    }
    }
}

void exercise(const QByteArray &imageBytes, const SettingStruct &s)
{
    MemoryByteStore image(imageBytes);
    WatchedImage watched(imageBytes, s);
    PendingWrites overlay(watched);
    bool exact = false;
    try {
        exact = roundTrip(image, overlay, s, imageBytes);
    } catch (const BvlError &) {
        // Refused before anything was written: a setting that cannot be saved leaves its bytes alone.
        FUZZ_CHECK(overlay.pendingCount() == 0);
        return;
    }
    FUZZ_CHECK(overlay.size() == imageBytes.size());
    overlay.commit();
    FUZZ_CHECK(watched.bytes().size() == imageBytes.size());
    if (exact)
        FUZZ_CHECK(watched.bytes() == imageBytes);

    // Text written back reads back as written: all of it when it fit, a prefix within the
    // field's limit when it had to be cut.
    const int limit = SettingCodec::MaxTextLength(s);
    if (s.Type >= quint8(SettingType::Int8) && s.Type <= quint8(SettingType::UnicodeString)) {
        const QString before = SettingCodec::DecodeText(image, s);
        const QString after = SettingCodec::DecodeText(watched, s);
        if (limit < 0 || before.size() <= limit)
            FUZZ_CHECK(after == before);
        else
            FUZZ_CHECK(after.size() <= limit && before.startsWith(after));
    }
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype settingLength = qMin<qsizetype>(quint8(data[0]) | quint8(data[1]) << 8, input.size() - 2);
    SettingList settings;
    if (!readSettings(input.mid(2, settingLength), settings))
        return 0;
    const QByteArray image = input.mid(2 + settingLength);
    for (const SettingStruct &s : settings)
        exercise(image, s);
    return 0;
}
