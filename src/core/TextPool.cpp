#include "core/TextPool.h"

#include "core/CodePage.h"

TextPool::TextPool(qsizetype capacity) : m_remaining(capacity) {}

QString TextPool::decode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString(0, Qt::Uninitialized);   // empty, not null, as a decoded empty text
    const qsizetype needed = bytes.size() + 1;
    if (needed > ChunkChars || needed > m_remaining)
        return CodePage::decode(bytes);
    if (needed > m_buffer.size() - m_used) {
        // A file's last chunk is no larger than what its texts can still take.
        m_buffer = QString(qMin(ChunkChars, m_remaining), Qt::Uninitialized);
        m_used = 0;
    }
    m_remaining -= needed;

    // A copy of the buffer's data pointer shares its allocation; pointing it at the slice
    // makes a string of just this text. Qt itself keeps strings whose data starts inside
    // their allocation, and detaches any string that is shared before changing it.
    QString::DataPointer slice = m_buffer.data_ptr();
    slice.ptr += m_used;
    slice.size = bytes.size();
    CodePage::decodeInto(bytes, reinterpret_cast<QChar *>(slice.ptr));
    slice.ptr[bytes.size()] = u'\0';   // for utf16() and everything else that expects it
    m_used += bytes.size() + 1;
    return QString(std::move(slice));
}
