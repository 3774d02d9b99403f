// Writes the seed inputs of every harness into fuzz/corpus/<harness>/: setting files made
// by the program's own writer (every type, truncated copies, hostile counts and offsets),
// small language files, SEEM file names, and copies of the shipped data files.
//
//   bvl-make-seeds <corpus folder> <data folder>
//
// Generated files start with "gen-", copies of shipped files with "data-"; inputs kept
// after a finding have other names and are left alone.

#include "core/BvlError.h"
#include "core/Conversions.h"
#include "core/SettingFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstdio>
#include <initializer_list>

namespace {

QDir g_corpus;

void writeSeed(const QString &harness, const QString &name, const QByteArray &bytes)
{
    if (!g_corpus.mkpath(harness))
        throw BvlError(ErrNo::PathFileAccess, QStringLiteral("cannot create ") + harness);
    QFile file(g_corpus.filePath(harness + QLatin1Char('/') + name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw BvlError(ErrNo::PathFileAccess, file.fileName());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw BvlError(ErrNo::PathFileAccess, path);
    return file.readAll();
}

// --- Setting files --------------------------------------------------------------------

SettingFileHeader header(qint32 settingCount)
{
    SettingFileHeader h;
    h.Magic = QStringLiteral("sec");
    h.FileVersion = 3;
    h.ProgramVersion = VersionString();
    h.SEEMNr = 0x32;
    h.SEEMRec = 1;
    h.Phones = QStringLiteral("Vaka 3");
    h.SettingCount = settingCount;
    h.Author = QStringLiteral("Seeds");
    return h;
}

SettingStruct setting(SettingType type, qint32 offset, const QString &name)
{
    SettingStruct s;
    s.Name = name;
    s.Description = QStringLiteral("Seed setting: %1").arg(name);
    s.Type = quint8(type);
    s.Group = QStringLiteral("Seeds\\%1").arg(name);
    s.Offset = offset;
    return s;
}

SettingStruct checkbox(qint32 offset, quint8 mask, const QString &values)
{
    SettingStruct s = setting(SettingType::Checkbox, offset, QStringLiteral("Beep"));
    s.BitMask = mask;
    s.Values = values;
    return s;
}

SettingStruct valueList(qint32 offset, quint8 mask, const QString &names, const QString &values)
{
    SettingStruct s = setting(SettingType::ValueList, offset, QStringLiteral("Volume"));
    s.BitMask = mask;
    s.ValueNames = names;
    s.Values = values;
    return s;
}

SettingStruct stringSetting(SettingType type, qint32 offset, qint32 maxLength)
{
    SettingStruct s = setting(type, offset, QStringLiteral("Greeting"));
    s.MaxStringLength = maxLength;
    return s;
}

// One setting of each kind over the image that allTypesImage() builds.
SettingList allTypes()
{
    SettingStruct unknown = setting(SettingType(9), 21, QStringLiteral("Future"));
    unknown.Description = QStringLiteral("Räder, 10 €, \"quoted\"");
    return {checkbox(0, 0x01, QStringLiteral("1§0")),
            valueList(1, 0x30, QStringLiteral("Low§Mid§High"), QStringLiteral("0§16§32")),
            setting(SettingType::Int8, 2, QStringLiteral("Level")),
            stringSetting(SettingType::AnsiString, 3, 8),
            stringSetting(SettingType::UnicodeString, 11, 10),
            unknown};
}

QByteArray allTypesImage()
{
    return QByteArray::fromHex("01"
                               "1F"
                               "C8"
                               "41424300585A5A57"
                               "0041004200000000FFFF"
                               "AA"
                               "0000");
}

// Encodes with the header's SettingCount as given, so a count can disagree with the list.
QByteArray encode(const SettingFileHeader &h, const SettingList &settings)
{
    return EncodeSettingFile(h, settings);
}

// A header whose texts are all empty: 18 bytes.
SettingFileHeader emptyHeader(qint32 settingCount)
{
    SettingFileHeader h;
    h.Magic = QStringLiteral("sec");
    h.FileVersion = 3;
    h.SettingCount = settingCount;
    return h;
}

QByteArray encode(const SettingList &settings)
{
    return encode(header(settings.size()), settings);
}

// The input of fuzz_decode: the setting file's length, the setting file, the image.
QByteArray decodeInput(const QByteArray &settingFile, const QByteArray &image)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(quint16(settingFile.size()), bytes.data());
    return bytes + settingFile + image;
}

void settingFileSeeds()
{
    const char *const harness = "fuzz_settingfile";
    const SettingList all = allTypes();
    for (const SettingStruct &s : all)
        writeSeed(harness, QStringLiteral("gen-type-%1.sec").arg(s.Type), encode({s}));
    const QByteArray whole = encode(all);
    writeSeed(harness, QStringLiteral("gen-all-types.sec"), whole);
    writeSeed(harness, QStringLiteral("gen-trailing-bytes.sec"), whole + "trailing bytes");
    writeSeed(harness, QStringLiteral("gen-empty-texts.sec"), encode(emptyHeader(3), SettingList(3)));

    // Cut inside the header, right after it, inside the first record, one byte short.
    const qsizetype headerSize = encode(header(all.size()), {}).size();
    for (qsizetype cut : {qsizetype(2), qsizetype(17), headerSize, headerSize + 10, whole.size() - 1})
        writeSeed(harness, QStringLiteral("gen-cut-%1.sec").arg(cut), whole.left(cut));

    // Counts the rest of the file cannot back.
    for (qint32 count : {0, -1, 0x7FFFFFFF, qint32(0x80000000), qint32(all.size() + 1)})
        writeSeed(harness, QStringLiteral("gen-count-%1.sec").arg(quint32(count), 8, 16, QLatin1Char('0')),
                  encode(header(count), all));

    // The smallest hostile file: 30 bytes claiming the largest count.
    writeSeed(harness, QStringLiteral("gen-count-7fffffff-30-bytes.sec"),
              encode(emptyHeader(0x7FFFFFFF), {}) + QByteArray(12, '\0'));

    // A text count past the end: the Name count of the first record.
    QByteArray longName = whole;
    longName[int(headerSize)] = char(0xFF);
    longName[int(headerSize) + 1] = char(0xFF);
    writeSeed(harness, QStringLiteral("gen-name-count-past-end.sec"), longName);
}

void settingHeaderSeeds()
{
    const char *const harness = "fuzz_settingheader";
    const QByteArray headerOnly = encode(header(1), {});
    writeSeed(harness, QStringLiteral("gen-header.sec"), headerOnly);
    writeSeed(harness, QStringLiteral("gen-header-short.sec"), headerOnly.left(headerOnly.size() - 1));
    writeSeed(harness, QStringLiteral("gen-minimal.sec"), encode(emptyHeader(1), {}));
    SettingFileHeader upper = header(1);
    upper.Magic = QStringLiteral("SEC");
    writeSeed(harness, QStringLiteral("gen-magic-upper.sec"), encode(upper, {}));
    SettingFileHeader version2 = header(1);
    version2.FileVersion = 2;
    writeSeed(harness, QStringLiteral("gen-version-2.sec"), encode(version2, {}));
    SettingFileHeader negative = header(1);
    negative.SEEMNr = -1;
    negative.SEEMRec = qint16(0x8000);
    writeSeed(harness, QStringLiteral("gen-negative-numbers.sec"), encode(negative, {}));
    writeSeed(harness, QStringLiteral("gen-all-types.sec"), encode(allTypes()));
}

void decodeSeeds()
{
    const char *const harness = "fuzz_decode";
    const QByteArray image = allTypesImage();
    writeSeed(harness, QStringLiteral("gen-all-types.bin"), decodeInput(encode(allTypes()), image));
    writeSeed(harness, QStringLiteral("gen-short-image.bin"), decodeInput(encode(allTypes()), image.left(5)));
    writeSeed(harness, QStringLiteral("gen-empty-image.bin"), decodeInput(encode(allTypes()), QByteArray()));

    // String fields that hold no terminator, and a UTF-16 pair cut by the field's end.
    writeSeed(harness, QStringLiteral("gen-unterminated.bin"),
              decodeInput(
                  encode({stringSetting(SettingType::AnsiString, 0, 4), stringSetting(SettingType::UnicodeString, 4, 6),
                          stringSetting(SettingType::UnicodeString, 10, 7)}),
                  QByteArray::fromHex("41424344"
                                      "00410042D83D"
                                      "D83DDE00D83DDE")));

    // Positions and sizes outside the image, and sizes too small for a terminator.
    SettingList hostile;
    for (qint32 offset : {-1, 0x7FFFFFFF, 30, 31})
        hostile.append(setting(SettingType::Int8, offset, QStringLiteral("Far")));
    for (qint32 maxLength : {0x7FFFFFFF, -5, 0, 1, 2, 3})
        hostile.append(stringSetting(SettingType::AnsiString, 28, maxLength));
    for (qint32 maxLength : {0x7FFFFFFF, -5, 0, 1, 2, 3})
        hostile.append(stringSetting(SettingType::UnicodeString, 28, maxLength));
    writeSeed(harness, QStringLiteral("gen-hostile-offsets.bin"), decodeInput(encode(hostile), QByteArray(32, 'x')));

    // Value texts the codec has to refuse or mask.
    SettingList values = {checkbox(0, 0x01, QStringLiteral("1")),
                          checkbox(0, 0x01, QStringLiteral("x§0")),
                          checkbox(0, 0x01, QStringLiteral("300§0")),
                          checkbox(0, 0x01, QStringLiteral("1§0§x")),
                          checkbox(0, 0x01, QStringLiteral("3§2")),
                          checkbox(0, 0x00, QStringLiteral("0§0")),
                          valueList(1, 0x0F, QStringLiteral("A§B"), QStringLiteral("a§b")),
                          valueList(1, 0x0F, QString(), QString()),
                          valueList(1, 0x0F, QStringLiteral("A§B"), QStringLiteral("0§999")),
                          valueList(1, 0x0F, QStringLiteral("A§B"), QStringLiteral("-1§-2147483648")),
                          valueList(1, 0xF0, QStringLiteral("A§B§C"), QStringLiteral("16§16§0")),
                          valueList(1, 0x03, QStringLiteral("A§B"), QStringLiteral("7§5"))};
    writeSeed(harness, QStringLiteral("gen-value-texts.bin"), decodeInput(encode(values), QByteArray::fromHex("0107")));
}

void langFileSeeds()
{
    const char *const harness = "fuzz_langfile";
    const QByteArray name = "Main.LangName=English\r\n";
    const QByteArray entries = "bvlMain.mnfQuit=&Quit\r\nbvlMain.sShortHelp_V=Pick a group.\r\n";
    writeSeed(harness, QStringLiteral("gen-crlf.sel"), name + entries);
    writeSeed(harness, QStringLiteral("gen-lf.sel"), QByteArray(name + entries).replace("\r\n", "\n"));
    writeSeed(harness, QStringLiteral("gen-no-final-line-end.sel"), name + "bvlMain.mnfQuit=Quit");
    writeSeed(harness, QStringLiteral("gen-duplicate-key.sel"), name + "a=1\r\nA=2\r\n");
    writeSeed(harness, QStringLiteral("gen-duplicate-name.sel"), name + "MAIN.LANGNAME=Other\r\n");
    writeSeed(harness, QStringLiteral("gen-lower-case-name.sel"), "main.langname=English\r\n" + entries);
    writeSeed(harness, QStringLiteral("gen-equals-in-value.sel"), name + "a=b=c\r\nempty=\r\n=no key\r\n");
    writeSeed(harness, QStringLiteral("gen-blanks-and-comments.sel"),
              name + "\r\n; a comment\r\n key = value \r\n\tTab\t=\t\r\n");
    QByteArray upperHalf = "Main.LangName=";
    for (int b = 0x80; b <= 0xFF; ++b)
        upperHalf.append(char(b));
    writeSeed(harness, QStringLiteral("gen-upper-half.sel"), upperHalf + "\r\n");
    writeSeed(harness, QStringLiteral("gen-line-ends.sel"),
              name + "a=1\rb=2\n\rc=3\r\r\n" + QByteArray(1, '\0') + "=nul\r\n");
    writeSeed(harness, QStringLiteral("gen-empty.sel"), QByteArray());
}

void seemNameSeeds()
{
    const char *const harness = "fuzz_seemname";
    const QStringList names = {QStringLiteral("0032_0001.seem"),
                               QStringLiteral("32_1"),
                               QStringLiteral("SEEM0032_0001.seem"),
                               QStringLiteral("00320001.seem"),
                               QStringLiteral("7FFF_7fff.bin"),
                               QStringLiteral("8000_0001.sch"),
                               QStringLiteral("0032_00011.bin"),
                               QStringLiteral("_0001"),
                               QStringLiteral("0032_"),
                               QStringLiteral("0032__0001"),
                               QStringLiteral("00000000000032_0001"),
                               QStringLiteral("0032_01 2.seem"),
                               QStringLiteral("äö_€.seem")};
    for (int i = 0; i < names.size(); ++i)
        writeSeed(harness, QStringLiteral("gen-name-%1").arg(i, 2, 10, QLatin1Char('0')), names[i].toUtf8());
    writeSeed(harness, QStringLiteral("gen-name-latin1"), QByteArray("\xE4\xFF_0\xB2.seem"));
}

// Shipped files: setting files and their header, language files, and every SEEM image
// with every setting file for the codec; the image's own name for the name parser.
void dataSeeds(const QDir &data)
{
    const QStringList secFiles = data.entryList({QStringLiteral("*.sec")}, QDir::Files, QDir::Name);
    const QStringList selFiles = data.entryList({QStringLiteral("*.sel")}, QDir::Files, QDir::Name);
    const QStringList seemFiles = data.entryList({QStringLiteral("*.seem")}, QDir::Files, QDir::Name);
    for (const QString &sec : secFiles) {
        const QByteArray bytes = readFile(data.filePath(sec));
        writeSeed("fuzz_settingfile", QStringLiteral("data-") + sec, bytes);
        writeSeed("fuzz_settingheader", QStringLiteral("data-") + sec, bytes);
        for (const QString &seem : seemFiles)
            writeSeed("fuzz_decode", QStringLiteral("data-%1-%2.bin").arg(QFileInfo(sec).baseName(), seem),
                      decodeInput(bytes, readFile(data.filePath(seem))));
    }
    for (const QString &sel : selFiles)
        writeSeed("fuzz_langfile", QStringLiteral("data-") + sel, readFile(data.filePath(sel)));
    for (const QString &seem : seemFiles)
        writeSeed("fuzz_seemname", QStringLiteral("data-") + seem, seem.toUtf8());
}

}   // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bvl-make-seeds <corpus folder> <data folder>\n");
        return 2;
    }
    g_corpus = QDir(QString::fromLocal8Bit(argv[1]));
    try {
        settingFileSeeds();
        settingHeaderSeeds();
        decodeSeeds();
        langFileSeeds();
        seemNameSeeds();
        dataSeeds(QDir(QString::fromLocal8Bit(argv[2])));
    } catch (const BvlError &e) {
        std::fprintf(stderr, "bvl-make-seeds: %s\n", e.what());
        return 1;
    }
    return 0;
}
