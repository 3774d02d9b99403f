// bvl-bench [setting counts...]
//
// Times reading setting files, the main window's open, first show of a page, save and
// restore, and the command line's apply of every setting, on generated documents of 200,
// 2,000 and 20,000 settings (and on the same counts in groups of 2,000), counts the
// window's system calls, measures the peak memory of a process that opened the document,
// and prints Markdown tables. Built and run by `make bench` (release build, offscreen).
//
// bvl-bench --survey times brimvale-cli survey alone; bvl-bench --merge the comparison and
// merge of setting files alone.
//
// bvl-bench --peak-after-open FOLDER LANGUAGE SEEM is the child that measures memory: it
// starts the window, opens SEEM and prints its peak resident memory in kB.
#include "ApplyBench.h"
#include "AuthoringBench.h"
#include "CodePageBench.h"
#include "GeneratedDocument.h"
#include "InProcessCli.h"
#include "Median.h"
#include "MergeBench.h"
#include "ResultTable.h"
#include "SurveyBench.h"
#include "SyscallCounter.h"
#include "WindowSession.h"

#include "core/BvlError.h"
#include "core/SettingFile.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <cstdio>

namespace {

constexpr int Runs = 5;
// Reads take a few milliseconds at most, where a virtual machine's jitter is as large as a
// step: more runs keep their median steady.
constexpr int ReadRuns = 25;
// Every 20th setting is edited before a save: spread-out changes, as a user makes them.
constexpr int ChangeStride = 20;
const QVector<int> DefaultSizes{200, 2000, 20000};

struct Figures
{
    double readAll = 0, parse = 0, bufferParse = 0, open = 0, save = 0, restore = 0, apply = 0;
    double firstShow = 0, groupShow = 0;
    int groupPages = 0;
    qint64 peakKb = -1;
    std::optional<SyscallCounts> openCalls, saveCalls, restoreCalls;
    ChangingApply changingApply;
    int changedRuns = 0;
};

void MeasureParse(const GeneratedDocument &doc, Figures &f)
{
    f.readAll = MedianMs(ReadRuns, [&] { FileBytes(doc.secPath); });
    f.parse = MedianMs(ReadRuns, [&] {
        SettingFileHeader header;
        SettingList settings;
        ReadSettingFile(doc.secPath, header, settings);
    });
    const QByteArray bytes = FileBytes(doc.secPath);
    f.bufferParse = MedianMs(ReadRuns, [&] {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        SettingFileHeader header;
        SettingList settings;
        ReadSettingStream(buffer, header, settings);
    });
}

// apply of the profile that show prints for the image: every setting is looked up by
// name, parsed and encoded; the values are the image's own, so nothing is written.
void MeasureApply(const GeneratedDocument &doc, const QString &folder, Figures &f)
{
    const QString profile = RunCliOrThrow({QStringLiteral("show"), QStringLiteral("--format"), QStringLiteral("json"),
                                           QStringLiteral("--sec"), doc.secPath, doc.seemPath});
    const QString profilePath = JoinPath(folder, QStringLiteral("profile.json"));
    QFile file(profilePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(profile.toUtf8()) < 0)
        throw std::runtime_error("cannot write the profile");
    file.close();
    f.apply = MedianMs(Runs, [&] {
        RunCliOrThrow({QStringLiteral("apply"), QStringLiteral("--sec"), doc.secPath, doc.seemPath, profilePath});
    });
}

// The peak memory of a fresh process that started the window and opened the document.
qint64 MeasurePeakMemory(const QString &folder, const QString &language, const GeneratedDocument &doc)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--peak-after-open"), folder, language, doc.seemPath});
    if (!child.waitForFinished(120000) || child.exitCode() != 0)
        throw std::runtime_error("the memory measurement failed: " + child.readAllStandardError().toStdString());
    return child.readAllStandardOutput().trimmed().toLongLong();
}

int PeakAfterOpen(const QStringList &arguments)
{
    WindowSession session(arguments.value(2), arguments.value(3));
    session.open(arguments.value(4));
    if (session.settingCount() == 0)
        return 1;
    std::printf("%lld\n", static_cast<long long>(PeakMemoryKb()));
    return 0;
}

// Time of the first show of the largest group's page, and of all its continuation pages,
// each time on a document just opened (the open is not timed).
void MeasureFirstShow(WindowSession &session, const GeneratedDocument &doc, Figures &f)
{
    const auto open = [&] { session.open(doc.seemPath); };
    f.firstShow = MedianMs(
        Runs, [&] { session.showGroup(doc.largestGroupPath, false); }, open);
    f.groupShow = MedianMs(
        Runs, [&] { f.groupPages = session.showGroup(doc.largestGroupPath, true); }, open);
}

// A run of the window that showed a message did not measure what it says.
void RequireNoMessage(WindowSession &session)
{
    const QStringList messages = session.takeMessages();
    if (!messages.isEmpty())
        throw std::runtime_error("the window showed a message: " + messages.first().toStdString());
}

// The window's steps alone, without system-call counts: for the large-group documents.
void MeasureWindowSteps(WindowSession &session, const GeneratedDocument &doc, Figures &f)
{
    MeasureFirstShow(session, doc, f);
    f.open = MedianMs(Runs, [&] { session.open(doc.seemPath); });
    if (session.settingCount() != doc.settingCount)
        throw std::runtime_error("the window did not open " + doc.seemPath.toStdString());
    f.save = MedianMs(
        Runs, [&] { session.save(); }, [&] { session.changeEvery(ChangeStride); });
    f.restore = MedianMs(Runs, [&] { session.restoreAll(); });
    RequireNoMessage(session);
}

void MeasureWindow(WindowSession &session, SyscallCounter &counter, const GeneratedDocument &doc, Figures &f)
{
    MeasureWindowSteps(session, doc, f);
    f.openCalls = counter.count([&] { session.open(doc.seemPath); });
    session.changeEvery(ChangeStride);
    const QByteArray before = FileBytes(doc.seemPath);
    f.saveCalls = counter.count([&] { session.save(); });
    f.changedRuns = ChangedRuns(before, FileBytes(doc.seemPath));
    f.restoreCalls = counter.count([&] { session.restoreAll(); });
    RequireNoMessage(session);
}

QString CallsPerSetting(const std::optional<SyscallCounts> &calls, int settings)
{
    return calls ? ResultTable::perSetting(calls->total(), settings) : ResultTable::notAvailable();
}

QString CallsOf(const std::optional<SyscallCounts> &calls, std::initializer_list<const char *> names)
{
    return calls ? ResultTable::count(calls->of(names)) : ResultTable::notAvailable();
}

void AddColumn(ResultTable &table, const GeneratedDocument &doc, const Figures &f)
{
    const int n = doc.settingCount;
    table.add(QStringLiteral("setting file / SEEM image"),
              QStringLiteral("%1 / %2 KB").arg(doc.secBytes / 1024).arg(doc.seemBytes / 1024));
    table.add(QStringLiteral("groups (largest)"), QStringLiteral("%1 (%2)").arg(doc.groupCount).arg(doc.largestGroup));
    table.add(QStringLiteral("`QFile::readAll`"), ResultTable::ms(f.readAll));
    table.add(QStringLiteral("`ReadSettingFile`"), ResultTable::ms(f.parse));
    table.add(QStringLiteral("parse / readAll"), ResultTable::ratio(f.parse / f.readAll));
    table.add(QStringLiteral("same parse over `QBuffer`"), ResultTable::ms(f.bufferParse));
    table.add(QStringLiteral("parse / `QBuffer` parse"), ResultTable::ratio(f.parse / f.bufferParse));
    table.add(QStringLiteral("open (read, build, restore)"), ResultTable::ms(f.open));
    table.add(QStringLiteral("first show of the largest group's page"), ResultTable::ms(f.firstShow));
    table.add(QStringLiteral("first show of all its pages (pages)"),
              QStringLiteral("%1 (%2)").arg(ResultTable::ms(f.groupShow)).arg(f.groupPages));
    table.add(QStringLiteral("peak memory after open (VmHWM)"),
              QStringLiteral("%1 MB").arg(f.peakKb / 1024.0, 0, 'f', 1));
    table.add(QStringLiteral("save (every %1th changed)").arg(ChangeStride), ResultTable::ms(f.save));
    table.add(QStringLiteral("restore-all"), ResultTable::ms(f.restore));
    table.add(QStringLiteral("`brimvale-cli apply`, every setting assigned"), ResultTable::ms(f.apply));
    table.add(QStringLiteral("`brimvale-cli apply`, every setting changed"), ResultTable::ms(f.changingApply.ms));
    table.add(QStringLiteral("the same, the program run as a process"), ResultTable::ms(f.changingApply.processMs));
    table.add(QStringLiteral("apply, every setting changed: pread / pwrite calls"),
              f.changingApply.calls
                  ? QStringLiteral("%1 / %2").arg(ResultTable::count(f.changingApply.calls->of({"pread64", "read"})),
                                                  ResultTable::count(f.changingApply.calls->of({"pwrite64", "write"})))
                  : ResultTable::notAvailable());
    table.add(QStringLiteral("apply, every setting changed: system calls (all)"),
              f.changingApply.calls ? ResultTable::count(f.changingApply.calls->total()) : ResultTable::notAvailable());
    table.add(QStringLiteral("open: system calls / setting"), CallsPerSetting(f.openCalls, n));
    table.add(QStringLiteral("save: system calls / setting"), CallsPerSetting(f.saveCalls, n));
    table.add(QStringLiteral("restore-all: system calls / setting"), CallsPerSetting(f.restoreCalls, n));
    table.add(QStringLiteral("save: runs of changed bytes"), ResultTable::count(f.changedRuns));
    table.add(QStringLiteral("save: system calls (all)"),
              f.saveCalls ? ResultTable::count(f.saveCalls->total()) : ResultTable::notAvailable());
    table.add(QStringLiteral("save: write calls"),
              CallsOf(f.saveCalls, {"write", "pwrite64", "writev", "pwritev", "pwritev2"}));
    table.add(QStringLiteral("save: fsync calls"), CallsOf(f.saveCalls, {"fsync", "fdatasync"}));
}

void AddLargeGroupColumn(ResultTable &table, const GeneratedDocument &doc, const Figures &f)
{
    table.add(QStringLiteral("groups (largest)"), QStringLiteral("%1 (%2)").arg(doc.groupCount).arg(doc.largestGroup));
    table.add(QStringLiteral("open (read, build, restore)"), ResultTable::ms(f.open));
    table.add(QStringLiteral("first show of the largest group's page"), ResultTable::ms(f.firstShow));
    table.add(QStringLiteral("first show of all its pages (pages)"),
              QStringLiteral("%1 (%2)").arg(ResultTable::ms(f.groupShow)).arg(f.groupPages));
    table.add(QStringLiteral("save (every %1th changed)").arg(ChangeStride), ResultTable::ms(f.save));
    table.add(QStringLiteral("restore-all"), ResultTable::ms(f.restore));
    table.add(QStringLiteral("peak memory after open (VmHWM)"),
              QStringLiteral("%1 MB").arg(f.peakKb / 1024.0, 0, 'f', 1));
}

QVector<int> SizesFrom(const QStringList &arguments)
{
    QVector<int> sizes;
    for (const QString &argument : arguments.mid(1))
        if (const int n = argument.toInt(); n > 0)
            sizes << n;
    return sizes.isEmpty() ? DefaultSizes : sizes;
}

}   // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (app.arguments().value(1) == QStringLiteral("--peak-after-open")) {
        try {
            return PeakAfterOpen(app.arguments());
        } catch (const std::exception &e) {
            std::fprintf(stderr, "bvl-bench: %s\n", e.what());
            return 1;
        }
    }
    try {
        QTemporaryDir folder;
        // BVL_BENCH_KEEP=1 leaves the generated files, to run another build's commands on them.
        folder.setAutoRemove(qEnvironmentVariableIsEmpty("BVL_BENCH_KEEP"));
        if (!folder.isValid())
            throw std::runtime_error("no temporary folder");
        if (app.arguments().value(1) == QStringLiteral("--survey")) {
            std::printf("%s", qPrintable(MeasureSurvey(folder.path())));
            return 0;
        }
        if (app.arguments().value(1) == QStringLiteral("--merge")) {
            std::printf("%s", qPrintable(MeasureMerge(folder.path(), Runs)));
            return 0;
        }
        const QString language = JoinPath(folder.path(), QStringLiteral("english.sel"));
        if (!QFile::copy(QStringLiteral(BVL_BENCH_LANGUAGE_FILE), language))
            throw std::runtime_error("cannot copy the language file");

        QVector<GeneratedDocument> docs, largeDocs;
        const QVector<int> sizes = SizesFrom(app.arguments());
        for (int i = 0; i < sizes.size(); ++i) {
            docs << GenerateDocument(folder.path(), sizes.at(i), qint16(i + 1));
            largeDocs << GenerateLargeGroupDocument(folder.path(), sizes.at(i), qint16(0x100 + i));
        }

        SyscallCounter counter;
        WindowSession session(folder.path(), language);
        session.open(docs.first().seemPath);   // first-use costs (fonts, styles) stay out of the figures

        QStringList titles{QStringLiteral("settings")};
        for (const GeneratedDocument &doc : docs)
            titles << ResultTable::count(doc.settingCount);
        ResultTable table(titles);
        ResultTable codePages(titles);
        Figures largest;
        for (const GeneratedDocument &doc : docs) {
            std::fprintf(stderr, "measuring %d settings...\n", doc.settingCount);
            Figures figures;
            MeasureParse(doc, figures);
            MeasureApply(doc, folder.path(), figures);
            figures.changingApply = MeasureChangingApply(doc, folder.path(), Runs, counter);
            MeasureWindow(session, counter, doc, figures);
            figures.peakKb = MeasurePeakMemory(folder.path(), language, doc);
            AddColumn(table, doc, figures);
            AddCodePageRows(codePages, doc, ReadRuns);
            largest = figures;
        }

        std::printf("Medians of %d runs (reads %d); Qt %s, platform \"%s\", %d cores; system calls counted by %s.\n\n",
                    Runs, ReadRuns, qVersion(), qPrintable(QGuiApplication::platformName()),
                    QThread::idealThreadCount(),
                    counter.available() ? "strace (the step alone, attached and detached around it)"
                                        : qPrintable(QStringLiteral("nothing (") + counter.unavailableReason() + ")"));
        std::printf("%s", qPrintable(table.markdown()));
        ResultTable largeTable(titles);
        for (const GeneratedDocument &doc : largeDocs) {
            std::fprintf(stderr, "measuring %d settings in groups of %d...\n", doc.settingCount, doc.largestGroup);
            Figures figures;
            MeasureWindowSteps(session, doc, figures);
            figures.peakKb = MeasurePeakMemory(folder.path(), language, doc);
            AddLargeGroupColumn(largeTable, doc, figures);
        }
        std::printf("\nThe same counts in groups of 2,000 settings (one group below 2,000):\n\n%s",
                    qPrintable(largeTable.markdown()));
        std::printf(
            "\nDecoding the texts of the setting file (letters moved above 0x7F, as in a non-Latin script):\n\n%s",
            qPrintable(codePages.markdown()));
        // Where the calls go, for whoever makes these steps cheaper.
        if (largest.openCalls && largest.saveCalls)
            std::printf("\nMost frequent system calls with %s settings: open: %s; save: %s.\n",
                        qPrintable(titles.last()), qPrintable(largest.openCalls->busiest(5)),
                        qPrintable(largest.saveCalls->busiest(5)));
        std::fprintf(stderr, "measuring the byte map and proposals...\n");
        std::printf("\nAuthoring (medians of %d runs):\n\n%s", Runs, qPrintable(MeasureAuthoring(Runs)));
        std::printf("\nSurveys of many images (medians of 3 runs):\n\n%s", qPrintable(MeasureSurvey(folder.path())));
        std::fprintf(stderr, "measuring the comparison and merge of setting files...\n");
        std::printf("\nSetting files compared and merged (medians of %d runs):\n\n%s", Runs,
                    qPrintable(MeasureMerge(folder.path(), Runs)));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bvl-bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
