#include "ApplyBench.h"

#include "InProcessCli.h"
#include "Median.h"

#include "core/BvlError.h"
#include "core/SettingFile.h"
#include "seem/files/MemoryByteStore.h"

#include <QDir>
#include <QProcess>

#include <stdexcept>

namespace {

// The image with every setting holding another value than the generator gave it.
QByteArray ChangedImage(const QByteArray &image, const SettingList &settings)
{
    MemoryByteStore changed(image);
    for (int i = 0; i < settings.size(); ++i)
        EncodeStartValue(changed, settings.at(i), i + 1);
    return changed.bytes();
}

// The brimvale-cli program built beside the bench, run as a user runs it.
void RunCliProcessOrThrow(const QStringList &arguments)
{
    QProcess cli;
    cli.start(QStringLiteral(BVL_CLI_PROGRAM), arguments);
    if (!cli.waitForFinished(120000) || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0)
        throw std::runtime_error("brimvale-cli failed: " + cli.readAllStandardError().toStdString());
    cli.readAllStandardOutput();
}

}   // namespace

ChangingApply MeasureChangingApply(const GeneratedDocument &doc, const QString &folder, int runs,
                                   SyscallCounter &counter)
{
    SettingFileHeader header;
    SettingList settings;
    ReadSettingFile(doc.secPath, header, settings);
    const QByteArray original = FileBytes(doc.seemPath);
    const QString changedPath = QDir(folder).filePath(QStringLiteral("changed-%1.seem").arg(doc.settingCount));
    const QString profilePath = QDir(folder).filePath(QStringLiteral("changing-%1.json").arg(doc.settingCount));
    const QString targetPath = QDir(folder).filePath(QStringLiteral("target-%1.seem").arg(doc.settingCount));
    WriteImage(changedPath, ChangedImage(original, settings));
    WriteImage(profilePath, RunCliOrThrow({QStringLiteral("show"), QStringLiteral("--format"), QStringLiteral("json"),
                                           QStringLiteral("--sec"), doc.secPath, changedPath})
                                .toUtf8());
    const QStringList apply{QStringLiteral("apply"), QStringLiteral("--sec"), doc.secPath, targetPath, profilePath};
    ChangingApply figures;
    figures.ms = MedianMs(
        runs, [&] { RunCliOrThrow(apply); }, [&] { WriteImage(targetPath, original); });
    figures.processMs = MedianMs(
        runs, [&] { RunCliProcessOrThrow(apply); }, [&] { WriteImage(targetPath, original); });
    WriteImage(targetPath, original);
    figures.calls = counter.count([&] { RunCliOrThrow(apply); });
    if (FileBytes(targetPath) != FileBytes(changedPath))
        throw std::runtime_error("apply did not make the changed image");
    return figures;
}
