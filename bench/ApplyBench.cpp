#include "ApplyBench.h"

#include "InProcessCli.h"
#include "Median.h"

#include "core/BvlError.h"
#include "core/SettingFile.h"
#include "seem/MemoryByteStore.h"
#include "seem/SettingCodec.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <stdexcept>

namespace {

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// The image with every setting holding another value than the generator gave it.
QByteArray ChangedImage(const QByteArray &image, const SettingList &settings)
{
    MemoryByteStore changed(image);
    for (int i = 0; i < settings.size(); ++i) {
        const SettingStruct &s = settings.at(i);
        const int next = i + 1;
        switch (SettingType(s.Type)) {
        case SettingType::Checkbox:
            SettingCodec::EncodeChecked(changed, s, next % 2 == 0);
            break;
        case SettingType::ValueList:
            SettingCodec::EncodeListValue(changed, s, (next % 4) * 16);
            break;
        case SettingType::Int8:
            SettingCodec::EncodeText(changed, s, QString::number(next % 256));
            break;
        default:
            SettingCodec::EncodeText(changed, s, QStringLiteral("Text %1").arg(next));
            break;
        }
    }
    return changed.bytes();
}

} // namespace

ChangingApply MeasureChangingApply(const GeneratedDocument &doc, const QString &folder, int runs,
                                   SyscallCounter &counter)
{
    SettingFileHeader header;
    SettingList settings;
    ReadSettingFile(doc.secPath, header, settings);
    const QByteArray original = Bytes(doc.seemPath);
    const QString changedPath = QDir(folder).filePath(QStringLiteral("changed-%1.seem").arg(doc.settingCount));
    const QString profilePath = QDir(folder).filePath(QStringLiteral("changing-%1.json").arg(doc.settingCount));
    const QString targetPath = QDir(folder).filePath(QStringLiteral("target-%1.seem").arg(doc.settingCount));
    Write(changedPath, ChangedImage(original, settings));
    Write(profilePath, RunCliOrThrow({QStringLiteral("show"), QStringLiteral("--format"), QStringLiteral("json"),
                            QStringLiteral("--sec"), doc.secPath, changedPath})
                           .toUtf8());
    const QStringList apply{QStringLiteral("apply"), QStringLiteral("--sec"), doc.secPath, targetPath, profilePath};
    ChangingApply figures;
    figures.ms = MedianMs(runs, [&] { RunCliOrThrow(apply); }, [&] { Write(targetPath, original); });
    Write(targetPath, original);
    figures.calls = counter.count([&] { RunCliOrThrow(apply); });
    if (Bytes(targetPath) != Bytes(changedPath))
        throw std::runtime_error("apply did not make the changed image");
    return figures;
}
