#pragma once
#include <QDir>
#include <QString>
#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Readers that take a path get each input through one temporary file per process,
// rewritten for every input and removed at exit.
class TempInputFile
{
public:
    explicit TempInputFile(const QString &suffix)
        : m_file(QStringLiteral("%1/bvl-fuzz-XXXXXX%2").arg(QDir::tempPath(), suffix))
    {
        if (!m_file.open())
            std::abort();
    }

    QString write(const uint8_t *data, size_t size)
    {
        if (!m_file.seek(0) || !m_file.resize(0)
            || m_file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size) || !m_file.flush())
            std::abort();   // the harness itself cannot work; not a finding in the reader
        return m_file.fileName();
    }

private:
    QTemporaryFile m_file;
};
