#include "SurveyBench.h"

#include "GeneratedDocument.h"
#include "InProcessCli.h"
#include "Median.h"
#include "ResultTable.h"

#include "core/SettingFile.h"
#include "seem/files/MemoryByteStore.h"

#include <QDir>
#include <QProcess>

#include <cstdio>
#include <stdexcept>

namespace {

constexpr int SurveySettings = 2000;
constexpr qint64 SurveyImageBytes = 64 * 1024;
const QVector<int> ImageCounts{10, 100, 1000};
// The show loop takes a process per image: 1,000 of them would only say 10 times 100.
constexpr int LargestShowLoop = 100;
constexpr int Runs = 3;
// Each image changes every 50th setting from the generator's values, and a byte no setting
// owns: a few settings vary, as in images read out of phones of one model.
constexpr int VaryingStride = 50;

// The folder "survey-N" with N images "0032_0001_K.seem" of the document's setting file.
QString WriteImages(const QString &folder, const GeneratedDocument &doc, int count)
{
    SettingFileHeader header;
    SettingList settings;
    ReadSettingFile(doc.secPath, header, settings);
    QByteArray base = FileBytes(doc.seemPath);
    const qint64 described = base.size();
    if (described > SurveyImageBytes)
        throw std::runtime_error("the generated settings do not fit 64 KB");
    base.resize(SurveyImageBytes);
    for (qint64 i = described; i < SurveyImageBytes; ++i)
        base[i] = char(0x40 + i % 7);
    const QString imageFolder = QDir(folder).filePath(QStringLiteral("survey-%1").arg(count));
    if (!QDir().mkpath(imageFolder))
        throw std::runtime_error("cannot make the image folder");
    for (int k = 0; k < count; ++k) {
        MemoryByteStore image(base);
        for (int s = k % VaryingStride; s < settings.size(); s += VaryingStride)
            EncodeStartValue(image, settings.at(s), s + k);
        QByteArray bytes = image.bytes();
        bytes[SurveyImageBytes - 1] = char(k);
        WriteImage(QDir(imageFolder)
                       .filePath(QStringLiteral("0032_%1_%2.seem")
                                     .arg(header.SEEMRec, 4, 16, QLatin1Char('0'))
                                     .arg(k, 4, 10, QLatin1Char('0'))),
                   bytes);
    }
    return imageFolder;
}

// brimvale-cli as a user runs it; output is read and dropped.
void RunProcessOrThrow(const QStringList &arguments)
{
    QProcess cli;
    cli.start(QStringLiteral(BVL_CLI_PROGRAM), arguments);
    cli.closeWriteChannel();
    if (!cli.waitForFinished(600000) || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0)
        throw std::runtime_error("brimvale-cli " + arguments.join(QLatin1Char(' ')).toStdString()
                                 + " failed: " + cli.readAllStandardError().toStdString());
}

}   // namespace

QString MeasureSurvey(const QString &folder)
{
    const GeneratedDocument doc = GenerateDocument(folder, SurveySettings, 0x200);
    QStringList titles{QStringLiteral("images of 64 KB, %1 settings").arg(ResultTable::count(SurveySettings))};
    for (int count : ImageCounts)
        titles << ResultTable::count(count);
    ResultTable table(titles);
    for (int count : ImageCounts) {
        std::fprintf(stderr, "measuring the survey of %d images...\n", count);
        const QString images = WriteImages(folder, doc, count);
        const QStringList survey{QStringLiteral("survey"), QStringLiteral("--sec"), doc.secPath, images};
        table.add(QStringLiteral("`brimvale-cli survey`, the program as a process"),
                  ResultTable::ms(MedianMs(Runs, [&] { RunProcessOrThrow(survey); })));
        table.add(QStringLiteral("the same in this process"),
                  ResultTable::ms(MedianMs(Runs, [&] { RunCliOrThrow(survey); })));
        table.add(QStringLiteral("the same, `--format csv`, as a process"), ResultTable::ms(MedianMs(Runs, [&] {
                      RunProcessOrThrow(survey + QStringList{QStringLiteral("--format"), QStringLiteral("csv")});
                  })));
        if (count > LargestShowLoop) {
            table.add(QStringLiteral("a loop of `show --format json`, a process per image"),
                      ResultTable::notAvailable());
            continue;
        }
        const QStringList paths = QDir(images).entryList({QStringLiteral("*.seem")}, QDir::Files, QDir::Name);
        table.add(QStringLiteral("a loop of `show --format json`, a process per image"),
                  ResultTable::ms(MedianMs(Runs, [&] {
                      for (const QString &name : paths)
                          RunProcessOrThrow({QStringLiteral("show"), QStringLiteral("--format"), QStringLiteral("json"),
                                             QStringLiteral("--sec"), doc.secPath, QDir(images).filePath(name)});
                  })));
    }
    return table.markdown();
}
