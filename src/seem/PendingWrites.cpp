#include "seem/SeemFile.h"

#include "core/BvlError.h"

quint8 PendingWrites::readByte(qint64 offset)
{
    const auto it = m_bytes.constFind(offset);
    if (it != m_bytes.constEnd())
        return it.value();
    return m_target.readByte(offset);
}

void PendingWrites::writeByte(qint64 offset, quint8 value)
{
    // Refused now, not at commit: a save must fail before any byte reaches the target.
    if (offset < 0 || offset >= size())
        throw BvlError(ErrNo::InputPastEnd);
    m_bytes.insert(offset, value);
}

void PendingWrites::commit()
{
    // QMap iterates in ascending key order. The pending bytes are kept until every one is
    // written, so a commit that fails half way can be repeated as a whole.
    for (auto it = m_bytes.constBegin(); it != m_bytes.constEnd(); ++it)
        m_target.writeByte(it.key(), it.value());
    m_bytes.clear();
}
