#pragma once
#include "FuzzCheck.h"

#include "core/SettingTypes.h"
#include "seem/files/ByteStore.h"

#include <QByteArray>

// A SEEM image that lets one setting write only what it owns: bytes inside its field,
// and for the bit types only the bits of its mask. Anything else aborts as a finding.
class WatchedImage : public ByteStore
{
public:
    WatchedImage(const QByteArray &bytes, const SettingStruct &owner) : m_bytes(bytes), m_owner(owner) {}

    qint64 size() const override { return m_bytes.size(); }

    QByteArray read(qint64 offset, qint64 count) override
    {
        FUZZ_CHECK(offset >= 0);
        return offset >= size() || count <= 0 ? QByteArray() : m_bytes.mid(offset, qMin(count, size() - offset));
    }

    void write(qint64 offset, const QByteArray &bytes) override
    {
        for (qsizetype i = 0; i < bytes.size(); ++i)
            writeOne(offset + i, quint8(bytes[i]));
    }

    const QByteArray &bytes() const { return m_bytes; }

private:
    void writeOne(qint64 offset, quint8 value)
    {
        FUZZ_CHECK(offset >= 0 && offset < size());
        FUZZ_CHECK(offset >= m_owner.Offset && offset < qint64(m_owner.Offset) + fieldSize());
        const quint8 changed = quint8(m_bytes.at(offset)) ^ value;
        if (isBitType())
            FUZZ_CHECK((changed & ~m_owner.BitMask) == 0);
        m_bytes[offset] = char(value);
    }

    bool isBitType() const
    {
        return m_owner.Type == quint8(SettingType::Checkbox) || m_owner.Type == quint8(SettingType::ValueList);
    }

    // How many bytes from Offset on the setting may write.
    qint64 fieldSize() const
    {
        switch (SettingType(m_owner.Type)) {
        case SettingType::Checkbox:
        case SettingType::ValueList:
        case SettingType::Int8:
            return 1;
        case SettingType::AnsiString:
        case SettingType::UnicodeString:
            return m_owner.MaxStringLength;
        default:
            return 0;   // unknown types write nothing
        }
    }

    QByteArray m_bytes;
    const SettingStruct &m_owner;
};
