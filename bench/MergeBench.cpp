#include "MergeBench.h"

#include "InProcessCli.h"
#include "Median.h"
#include "ResultTable.h"

#include "cli/RunCli.h"
#include "core/SettingFile.h"
#include "seem/authoring/SettingFileComparison.h"
#include "seem/authoring/SettingFileMerge.h"

#include <QDir>
#include <QTextStream>

#include <stdexcept>

namespace {

SettingFileContents Base(int count)
{
    SettingFileContents base;
    base.header.Magic = SettingFileFormat::Magic;
    base.header.FileVersion = SettingFileFormat::Version;
    base.header.ProgramVersion = QStringLiteral("1.0.0");
    base.header.SEEMNr = 0x32;
    base.header.SEEMRec = 1;
    base.header.SettingCount = count;
    base.settings.reserve(count);
    for (int i = 0; i < count; ++i) {
        SettingStruct s;
        s.Type = quint8(SettingType::ValueList);
        s.Group = QStringLiteral("Group %1\\Part %2").arg(i % 50).arg(i % 7);
        s.Name = QStringLiteral("Setting %1").arg(i);
        s.Description = QStringLiteral("What setting %1 does").arg(i);
        s.Offset = i;
        s.BitMask = 0x03;
        s.ValueNames = QStringLiteral("Off§Low§High");
        s.Values = QStringLiteral("0§1§2");
        base.settings << s;
    }
    return base;
}

// One side's work: a field changed in every 20th setting (from first on), a setting
// renamed, one in a hundred removed, and a hundredth added.
SettingFileContents Changed(const SettingFileContents &base, int first, const QString &tag)
{
    SettingFileContents side = base;
    const int count = int(base.settings.size());
    for (int i = first; i < count; i += 20)
        side.settings[i].Description += tag;
    side.settings[first + 1].Name += tag;
    for (int i = count - 1 - first; i >= 0; i -= 100)
        side.settings.removeAt(i);
    for (int i = 0; i < count / 100; ++i) {
        SettingStruct added = base.settings.at(i);
        added.Name = QStringLiteral("Added %1 %2").arg(tag).arg(i);
        added.Offset = count + i;
        side.settings << added;
    }
    side.header.SettingCount = qint32(side.settings.size());
    return side;
}

QString Write(const QString &folder, const QString &name, const SettingFileContents &file)
{
    const QString path = QDir(folder).filePath(name);
    WriteSettingFile(path, file.header, file.settings, file.trailing);
    return path;
}

}   // namespace

QString MeasureMerge(const QString &folder, int runs)
{
    const QVector<int> counts{2000, 20000};
    QStringList titles{QStringLiteral("settings")};
    for (int count : counts)
        titles << ResultTable::count(count);
    ResultTable table(titles);
    for (int count : counts) {
        const SettingFileContents base = Base(count);
        const SettingFileContents ours = Changed(base, 0, QStringLiteral("ours"));
        const SettingFileContents theirs = Changed(base, 10, QStringLiteral("theirs"));
        table.add(QStringLiteral("compare (`CompareSettingFiles`, base with ours)"),
                  ResultTable::ms(MedianMs(
                      runs, [&] { CompareSettingFiles(base.header, base.settings, ours.header, ours.settings); })));
        int conflicts = -1;
        table.add(QStringLiteral("merge (`SettingFileMerge`, its result)"), ResultTable::ms(MedianMs(runs, [&] {
                      const SettingFileMerge merge(base, ours, theirs);
                      merge.result();
                      conflicts = int(merge.conflicts().size());
                  })));
        table.add(QStringLiteral("merge: conflicts"), ResultTable::count(conflicts));
        const QString tag = QString::number(count);
        const QStringList arguments{QStringLiteral("merge-sec"),
                                    Write(folder, tag + QStringLiteral("-base.sec"), base),
                                    Write(folder, tag + QStringLiteral("-ours.sec"), ours),
                                    Write(folder, tag + QStringLiteral("-theirs.sec"), theirs),
                                    QStringLiteral("-o"),
                                    QDir(folder).filePath(tag + QStringLiteral("-merged.sec"))};
        table.add(QStringLiteral("`brimvale-cli merge-sec` in-process (3 files read, 1 written)"),
                  ResultTable::ms(MedianMs(runs, [&] { RunCliOrThrow(arguments); })));
        // Exit status 1: the files differ, as they do here.
        table.add(QStringLiteral("`brimvale-cli compare-sec` in-process (2 files read)"),
                  ResultTable::ms(MedianMs(runs, [&] {
                      QString out, err;
                      QTextStream outStream(&out), errStream(&err);
                      if (RunCli({QStringLiteral("compare-sec"), arguments.at(1), arguments.at(2)}, QString(),
                                 outStream, errStream)
                          != 1)
                          throw std::runtime_error("compare-sec did not find the differences");
                  })));
    }
    return table.markdown();
}
