#include "SyscallCounter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>
#include <QVector>

#include <algorithm>

namespace {

constexpr int AttachTimeoutMs = 10000;

// TracerPid in /proc/self/status is set once strace has attached to this thread.
bool IsTraced()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("TracerPid:"))
            return line.mid(10).trimmed() != "0";
    return false;
}

bool WaitUntil(bool traced)
{
    QElapsedTimer timer;
    timer.start();
    while (IsTraced() != traced) {
        if (timer.elapsed() > AttachTimeoutMs)
            return false;
        QThread::msleep(5);
    }
    return true;
}

// strace -c -U calls,name writes "  calls syscall" lines under a dashed rule, then a total.
SyscallCounts ParseSummary(const QByteArray &summary)
{
    SyscallCounts counts;
    for (const QByteArray &line : summary.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        bool isNumber = false;
        const qint64 calls = fields.size() == 2 ? fields.at(0).toLongLong(&isNumber) : 0;
        if (isNumber && fields.at(1) != "total")
            counts.byName.insert(QString::fromLatin1(fields.at(1)), calls);
    }
    return counts;
}

}   // namespace

qint64 SyscallCounts::total() const
{
    qint64 sum = 0;
    for (qint64 calls : byName)
        sum += calls;
    return sum;
}

qint64 SyscallCounts::of(std::initializer_list<const char *> names) const
{
    qint64 sum = 0;
    for (const char *name : names)
        sum += byName.value(QString::fromLatin1(name));
    return sum;
}

SyscallCounter::SyscallCounter()
{
    if (!QFile::exists(QStringLiteral("/proc/self/status"))) {
        m_reason = QStringLiteral("no /proc on this platform");
        return;
    }
    m_strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (m_strace.isEmpty())
        m_reason = QStringLiteral("strace not found");
}

QString SyscallCounts::busiest(int howMany) const
{
    QVector<std::pair<qint64, QString>> ranked;
    for (auto it = byName.cbegin(); it != byName.cend(); ++it)
        ranked.append({it.value(), it.key()});
    std::sort(ranked.begin(), ranked.end(), std::greater<>());
    QStringList parts;
    for (const auto &[calls, name] : ranked.mid(0, howMany))
        parts << QStringLiteral("%1 %2").arg(name).arg(calls);
    return parts.join(QStringLiteral(", "));
}

void SyscallCounts::subtract(const SyscallCounts &other)
{
    for (auto it = other.byName.cbegin(); it != other.byName.cend(); ++it) {
        const qint64 left = byName.value(it.key()) - it.value();
        if (left > 0)
            byName.insert(it.key(), left);
        else
            byName.remove(it.key());
    }
}

std::optional<SyscallCounts> SyscallCounter::count(const std::function<void()> &step)
{
    if (!m_overhead)
        m_overhead = countWithOverhead([] {});
    std::optional<SyscallCounts> counts = countWithOverhead(step);
    if (counts && m_overhead)
        counts->subtract(*m_overhead);
    return counts;
}

std::optional<SyscallCounts> SyscallCounter::countWithOverhead(const std::function<void()> &step)
{
    if (!available())
        return std::nullopt;
    QTemporaryFile summary;
    if (!summary.open())
        return std::nullopt;
    summary.close();

    QProcess strace;
    strace.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    strace.start(m_strace, {QStringLiteral("-q"), QStringLiteral("-f"), QStringLiteral("-c"), QStringLiteral("-U"),
                            QStringLiteral("calls,name"), QStringLiteral("-o"), summary.fileName(),
                            QStringLiteral("-p"), QString::number(QCoreApplication::applicationPid())});
    if (!strace.waitForStarted() || !WaitUntil(true)) {
        strace.kill();
        strace.waitForFinished();
        m_reason = QStringLiteral("strace could not attach");
        m_strace.clear();
        return std::nullopt;
    }
    step();
    // strace detaches on SIGTERM and writes its summary on the way out.
    strace.terminate();
    strace.waitForFinished();
    WaitUntil(false);

    QFile result(summary.fileName());
    if (!result.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ParseSummary(result.readAll());
}
