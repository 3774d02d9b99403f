#pragma once
#include <QMap>
#include <QString>

#include <functional>
#include <optional>

// System calls made by this process while one step runs, counted by attaching strace to
// the process for the step alone (start-up and the rest of the benchmark are not counted).
struct SyscallCounts
{
    QMap<QString, qint64> byName;   // "pwrite64" -> 12
    qint64 total() const;
    qint64 of(std::initializer_list<const char *> names) const;
    void subtract(const SyscallCounts &other);
    // "lseek 2000, read 1800, ..." for the calls made most often.
    QString busiest(int howMany) const;
};

class SyscallCounter
{
public:
    // Finds strace on the PATH and checks that this process may be traced.
    SyscallCounter();
    bool available() const { return !m_strace.isEmpty(); }
    // Why counting is off, for the table's notes; empty when available.
    QString unavailableReason() const { return m_reason; }

    // Runs step with strace attached; nothing when strace is missing or failed to attach.
    // The calls the attaching and detaching themselves make (counted once around an empty
    // step) are taken off. The step runs much slower under the tracer: never time it here.
    std::optional<SyscallCounts> count(const std::function<void()> &step);

private:
    std::optional<SyscallCounts> countWithOverhead(const std::function<void()> &step);

    std::optional<SyscallCounts> m_overhead;
    QString m_strace;
    QString m_reason;
};
