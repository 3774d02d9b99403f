// The JSON readers from hostile text: the JSON form of a setting file and a value profile.
// Whatever either accepts must go through its writer and read back the same: a setting
// file as the same header and records, a profile as the same values on an image. A
// profile read in one pass must read as the JSON document reads it, and a text that is
// not JSON is refused by both alike.
#include "FuzzCheck.h"

#include "core/BvlError.h"
#include "core/JsonFields.h"
#include "core/JsonSyntax.h"
#include "core/SettingFile.h"
#include "core/SettingFileJson.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/profiles/PlainProfile.h"
#include "seem/profiles/ValueProfile.h"

#include <QJsonDocument>
#include <QJsonParseError>

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

// What a profile's reader makes of a text: its assignments, or its refusal in words.
struct Reading
{
    QVector<ValueAssignment> assignments;
    QString refusal;
    bool operator==(const Reading &o) const { return assignments == o.assignments && refusal == o.refusal; }
};

template<typename Read> Reading reading(Read &&read)
{
    try {
        return Reading{read(), QString()};
    } catch (const BvlError &e) {
        return Reading{{}, QStringLiteral("%1 %2").arg(e.number()).arg(QString::fromUtf8(e.what()))};
    }
}

// Both readers of a profile take the same texts and refuse the same, in the same words,
// and neither takes what is not JSON, not even the one-pass reader on its own; what is
// JSON the document takes but for its own limits.
void profileReadersAgree(const QByteArray &input)
{
    const std::optional<QVector<ValueAssignment>> plain = ReadPlainProfile(input);
    const bool isJson = FindJsonSyntaxFault(input).offset < 0;
    FUZZ_CHECK(isJson || !plain);
    const Reading document = reading([&] { return ReadValueProfileDocument(input); });
    FUZZ_CHECK(isJson || !document.refusal.isEmpty());
    FUZZ_CHECK(reading([&] { return ReadValueProfile(input); }) == document);
    if (plain)
        FUZZ_CHECK(document == (Reading{*plain, QString()}));
    QJsonParseError error;
    QJsonDocument::fromJson(input, &error);
    if (isJson && error.error != QJsonParseError::NoError) {
        const QByteArray text = (input.startsWith("\xEF\xBB\xBF") ? input.mid(3) : input).trimmed();
        const bool container = text.startsWith('{') || text.startsWith('[');
        FUZZ_CHECK(error.error == QJsonParseError::DeepNesting || error.error == QJsonParseError::IllegalNumber
                   || (error.error == QJsonParseError::IllegalValue && !container));
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
    const QByteArray original = QByteArray::fromHex("11C8414243005859"
                                                    "5A57004100420000"
                                                    "0000000000000000"
                                                    "0000000000000000");
    QByteArray changed;
    try {
        changed = applied(assignments, original, nullptr);
    } catch (const BvlError &) {
        return;   // a value the codec refuses to write: nothing to carry further
    }
    // The profile of the changed image, put on the original, makes the same image.
    MemoryByteStore store(changed);
    const QByteArray profile =
        ValueProfileJson(QStringLiteral("0032_0001.seem"), QStringLiteral("test.sec"), profileSettings(), store);
    int refused = 0;
    FUZZ_CHECK(applied(ReadValueProfile(profile), original, &refused) == changed);
    FUZZ_CHECK(refused == 0);
}

}   // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    settingFileRoundTrip(input);
    profileReadersAgree(input);
    profileRoundTrip(input);
    return 0;
}
