// The JSON readers from hostile text: the JSON form of a setting file and a value profile.
// Whatever either accepts must go through its writer and read back the same: a setting
// file as the same header and records, a profile as the same values on an image. A
// profile read in one pass must read as the JSON document reads it.
#include "FuzzCheck.h"

#include "core/BvlError.h"
#include "core/JsonFields.h"
#include "core/SettingFile.h"
#include "core/SettingFileJson.h"
#include "seem/MemoryByteStore.h"
#include "seem/PlainProfile.h"
#include "seem/ValueProfile.h"

#include <QJsonDocument>

#include <cstddef>
#include <cstdint>

namespace {

void settingFileRoundTrip(const QByteArray &input)
{
    SettingFileHeader header;
    SettingList settings;
    try {
        SettingFileFromJson(ParseJsonObject(input), header, settings);
    } catch (const BvlError &) {
        return;
    }
    // What the reader took must be a file the writer can write, and its JSON must read back
    // as the same file: import(export(file)) is the file.
    const QByteArray encoded = EncodeSettingFile(header, settings);
    const QByteArray json = QJsonDocument(SettingFileToJson(header, settings)).toJson();
    SettingFileHeader backHeader;
    SettingList backSettings;
    SettingFileFromJson(ParseJsonObject(json), backHeader, backSettings);
    FUZZ_CHECK(backHeader == header && backSettings == settings);
    FUZZ_CHECK(EncodeSettingFile(backHeader, backSettings) == encoded);
}

SettingStruct setting(const char *name, SettingType type, qint32 offset, quint8 mask = 0, const char *values = "",
                      const char *valueNames = "", qint32 maxLength = 0)
{
    SettingStruct s;
    s.Name = QString::fromUtf8(name);
    s.Group = QStringLiteral("Test");
    s.Type = quint8(type);
    s.Offset = offset;
    s.BitMask = mask;
    s.Values = QString::fromUtf8(values);
    s.ValueNames = QString::fromUtf8(valueNames);
    s.MaxStringLength = maxLength;
    return s;
}

// One setting of each type, owning separate bytes of a 32-byte image.
const SettingList &profileSettings()
{
    static const SettingList settings = {
        setting("Beep", SettingType::Checkbox, 0, 0x01, "1\u00a70"),
        setting("Volume", SettingType::ValueList, 0, 0x30, "0\u00a716\u00a732", "Low\u00a7Mid\u00a7High"),
        setting("Timeout", SettingType::Int8, 1),
        setting("Greeting", SettingType::AnsiString, 2, 0, "", "", 8),
        setting("Owner", SettingType::UnicodeString, 10, 0, "", "", 8),
    };
    return settings;
}

// The image with every accepted assignment of the profile put on it.
QByteArray applied(const QVector<ValueAssignment> &assignments, const QByteArray &image, int *refused)
{
    QVector<AssignmentProblem> problems;
    MemoryByteStore store(image);
    const QVector<ResolvedAssignment> accepted = ResolveAssignments(assignments, profileSettings(), store, problems);
    if (refused)
        *refused = int(problems.size());
    for (const ResolvedAssignment &a : accepted)
        if (!a.unchanged)
            EncodeParsedValue(store, profileSettings().at(a.index - 1), a.value);
    return store.bytes();
}

// What the one-pass reader takes, the JSON document takes and reads the same.
void plainProfileAgrees(const QByteArray &input)
{
    const std::optional<QVector<ValueAssignment>> plain = ReadPlainProfile(input);
    if (!plain)
        return;
    try {
        FUZZ_CHECK(ReadValueProfileDocument(input) == *plain);
    } catch (const BvlError &) {
        FUZZ_CHECK(!"the one-pass reader took a profile the document refuses");
    }
}

void profileRoundTrip(const QByteArray &input)
{
    QVector<ValueAssignment> assignments;
    try {
        assignments = ReadValueProfile(input);
    } catch (const BvlError &) {
        return;
    }
    const QByteArray original = QByteArray::fromHex("11C8414243005859" "5A57004100420000" "0000000000000000" "0000000000000000");
    QByteArray changed;
    try {
        changed = applied(assignments, original, nullptr);
    } catch (const BvlError &) {
        return;   // a value the codec refuses to write: nothing to carry further
    }
    // The profile of the changed image, put on the original, makes the same image.
    MemoryByteStore store(changed);
    const QByteArray profile = ValueProfileJson(QStringLiteral("0032_0001.seem"), QStringLiteral("test.sec"),
                                                profileSettings(), store);
    int refused = 0;
    FUZZ_CHECK(applied(ReadValueProfile(profile), original, &refused) == changed);
    FUZZ_CHECK(refused == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    settingFileRoundTrip(input);
    plainProfileAgrees(input);
    profileRoundTrip(input);
    return 0;
}
