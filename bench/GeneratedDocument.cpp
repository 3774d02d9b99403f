#include "GeneratedDocument.h"

#include "core/BvlError.h"
#include "core/SettingFile.h"
#include "platform/Platform.h"
#include "seem/files/MemoryByteStore.h"
#include "seem/values/SettingCodec.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringList>

namespace {

constexpr qint16 BenchSeemNr = 0x32;
constexpr int LargeGroupSize = 2000;
// The large group is added only where it stays a tenth of the file or less.
constexpr int LargeGroupShare = 10;

// Bytes each type takes in the image; strings get fields of a typical size.
constexpr int AnsiFieldSize = 16;
constexpr int UnicodeFieldSize = 24;

int ImageBytesOf(SettingType type)
{
    switch (type) {
    case SettingType::AnsiString:
        return AnsiFieldSize;
    case SettingType::UnicodeString:
        return UnicodeFieldSize;
    default:
        return 1;
    }
}

// One group per entry, in file order: depth 2 ("Menu 3\Group 17") or depth 3
// ("Menu 3\Section 5\Group 17"), eight groups under each top-level menu.
struct GroupPlan
{
    QString path;
    int size;
};

QVector<GroupPlan> PlanGroups(int settingCount, QRandomGenerator &random)
{
    const bool withLargeGroup = settingCount >= LargeGroupShare * LargeGroupSize;
    const int inSmallGroups = settingCount - (withLargeGroup ? LargeGroupSize : 0);
    QVector<GroupPlan> groups;
    for (int planned = 0, number = 0; planned < inSmallGroups; ++number) {
        const int size = std::min(int(random.bounded(20, 61)), inSmallGroups - planned);
        const int menu = number / 8 + 1;
        const QString path =
            random.bounded(2) == 0
                ? QStringLiteral("Menu %1\\Group %2").arg(menu).arg(number)
                : QStringLiteral("Menu %1\\Section %2\\Group %3").arg(menu).arg(number / 3).arg(number);
        groups.append({path, size});
        planned += size;
    }
    // In the middle of the file, so that pages are built both before and after it.
    if (withLargeGroup)
        groups.insert(groups.size() / 2, {QStringLiteral("Large\\Group of %1").arg(LargeGroupSize), LargeGroupSize});
    return groups;
}

SettingStruct MakeSetting(int index, const QString &group, qint32 offset)
{
    static const SettingType types[] = {SettingType::Checkbox, SettingType::ValueList, SettingType::Int8,
                                        SettingType::AnsiString, SettingType::UnicodeString};
    SettingStruct s;
    s.Type = quint8(types[index % 5]);
    s.Name = QStringLiteral("Setting %1 of the phone").arg(index + 1);
    s.Description = QStringLiteral("What setting %1 changes, in a sentence or two as authors write them; "
                                   "shown when the pointer rests on its control.")
                        .arg(index + 1);
    s.Group = group;
    s.Offset = offset;
    switch (SettingType(s.Type)) {
    case SettingType::Checkbox:
        s.BitMask = 0x01;
        s.Values = JoinValues({QStringLiteral("1"), QStringLiteral("0")});
        break;
    case SettingType::ValueList:
        s.BitMask = 0x30;
        s.ValueNames = JoinValues(
            {QStringLiteral("Off"), QStringLiteral("Low"), QStringLiteral("Medium"), QStringLiteral("High")});
        s.Values = JoinValues({QStringLiteral("0"), QStringLiteral("16"), QStringLiteral("32"), QStringLiteral("48")});
        break;
    case SettingType::AnsiString:
        s.MaxStringLength = AnsiFieldSize;
        break;
    case SettingType::UnicodeString:
        s.MaxStringLength = UnicodeFieldSize;
        break;
    default:
        break;
    }
    return s;
}

}   // namespace

// A value the image holds for the setting, varied so that the controls differ.
void EncodeStartValue(MemoryByteStore &image, const SettingStruct &s, int index)
{
    switch (SettingType(s.Type)) {
    case SettingType::Checkbox:
        SettingCodec::EncodeChecked(image, s, index % 2 == 0);
        break;
    case SettingType::ValueList:
        SettingCodec::EncodeListValue(image, s, (index % 4) * 16);
        break;
    case SettingType::Int8:
        SettingCodec::EncodeText(image, s, QString::number(index % 256));
        break;
    default:
        SettingCodec::EncodeText(image, s, QStringLiteral("Text %1").arg(index));
        break;
    }
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw BvlError(ErrNo::PathFileAccess, path);
    return file.readAll();
}

void WriteImage(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw BvlError(ErrNo::PathFileAccess, path + QStringLiteral(": ") + file.errorString());
}

namespace {

QVector<GroupPlan> LargeGroups(int settingCount)
{
    QVector<GroupPlan> groups;
    for (int planned = 0, number = 1; planned < settingCount; ++number) {
        const int size = std::min(LargeGroupSize, settingCount - planned);
        groups.append({QStringLiteral("Large %1\\Group %2").arg(number / 4 + 1).arg(number), size});
        planned += size;
    }
    return groups;
}

GeneratedDocument WriteDocument(const QString &folder, const QString &secName, const QVector<GroupPlan> &groups,
                                qint16 seemRec)
{
    SettingList settings;
    int settingCount = 0;
    for (const GroupPlan &group : groups)
        settingCount += group.size;
    settings.reserve(settingCount);
    qint32 offset = 0;
    for (const GroupPlan &group : groups) {
        for (int i = 0; i < group.size; ++i) {
            settings.append(MakeSetting(settings.size(), group.path, offset));
            offset += ImageBytesOf(SettingType(settings.last().Type));
        }
    }

    // A filler pattern first, as an image read out of a phone has no zero gaps.
    QByteArray filler(offset, '\0');
    for (int i = 0; i < filler.size(); ++i)
        filler[i] = char(0x40 + i % 7);
    MemoryByteStore image(filler);
    for (int i = 0; i < settings.size(); ++i)
        EncodeStartValue(image, settings.at(i), i);

    SettingFileHeader header;
    header.Magic = QStringLiteral("sec");
    header.FileVersion = 3;
    header.ProgramVersion = QStringLiteral("bench");
    header.SEEMNr = BenchSeemNr;
    header.SEEMRec = seemRec;
    header.Phones = QStringLiteral("Benchmark phone");
    header.Author = QStringLiteral("bvl-bench");
    header.SettingCount = settings.size();

    GeneratedDocument doc;
    doc.settingCount = settings.size();
    doc.groupCount = groups.size();
    for (const GroupPlan &g : groups) {
        if (g.size > doc.largestGroup) {
            doc.largestGroup = g.size;
            doc.largestGroupPath = g.path;
        }
    }
    doc.secPath = JoinPath(folder, secName);
    doc.seemPath = JoinPath(
        folder,
        QStringLiteral("%1_%2.seem").arg(BenchSeemNr, 4, 16, QLatin1Char('0')).arg(seemRec, 4, 16, QLatin1Char('0')));
    WriteSettingFile(doc.secPath, header, settings);
    WriteImage(doc.seemPath, image.bytes());
    doc.secBytes = QFile(doc.secPath).size();
    doc.seemBytes = image.bytes().size();
    return doc;
}

}   // namespace

GeneratedDocument GenerateDocument(const QString &folder, int settingCount, qint16 seemRec)
{
    QRandomGenerator random{quint32(settingCount)};
    return WriteDocument(folder, QStringLiteral("bench-%1.sec").arg(settingCount), PlanGroups(settingCount, random),
                         seemRec);
}

GeneratedDocument GenerateLargeGroupDocument(const QString &folder, int settingCount, qint16 seemRec)
{
    return WriteDocument(folder, QStringLiteral("bench-%1-large.sec").arg(settingCount), LargeGroups(settingCount),
                         seemRec);
}
