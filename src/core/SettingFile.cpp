#include "core/SettingFile.h"

#include "core/BvlError.h"
#include "core/Cp1252.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <limits>
#include <utility>

namespace {

constexpr int MagicSize = 3;
constexpr qsizetype MaxTextBytes = std::numeric_limits<quint16>::max();
constexpr qint64 MaxSequentialBytes = 64 * 1024 * 1024;
constexpr qint64 SequentialPieceBytes = 64 * 1024;

// Reads the fields of the format from a random-access device. Every read first checks
// that the device still holds the bytes, so a short or hostile file costs no allocation
// beyond what it actually contains.
class FieldReader
{
public:
    explicit FieldReader(QIODevice &in) : m_in(in) {}

    qint64 remaining() const { return m_in.size() - m_in.pos(); }

    QByteArray bytes(qint64 count)
    {
        if (count > remaining())
            throw BvlError(ErrNo::InputPastEnd);
        QByteArray data(count, Qt::Uninitialized);
        const qint64 got = m_in.read(data.data(), count);
        if (got < 0)
            throw BvlError(ErrNo::PathFileAccess);
        if (got != count)
            throw BvlError(ErrNo::InputPastEnd);
        return data;
    }

    quint8 u8() { return static_cast<quint8>(bytes(1)[0]); }
    qint16 i16() { return qFromLittleEndian<qint16>(bytes(2).constData()); }
    quint16 u16() { return qFromLittleEndian<quint16>(bytes(2).constData()); }
    qint32 i32() { return qFromLittleEndian<qint32>(bytes(4).constData()); }
    QString text() { return Cp1252::decode(bytes(u16())); }
    QString magic() { return Cp1252::decode(bytes(MagicSize)); }

private:
    QIODevice &m_in;
};

SettingFileHeader readHeader(FieldReader &r)
{
    SettingFileHeader h;
    h.Magic = r.magic();
    h.FileVersion = r.u8();
    h.ProgramVersion = r.text();
    h.SEEMNr = r.i16();
    h.SEEMRec = r.i16();
    h.Phones = r.text();
    h.SettingCount = r.i32();
    h.Author = r.text();
    return h;
}

SettingStruct readSetting(FieldReader &r)
{
    SettingStruct s;
    s.Name = r.text();
    s.Description = r.text();
    s.Type = r.u8();
    s.UIIndex = r.i32();
    s.Group = r.text();
    s.Offset = r.i32();
    s.MaxStringLength = r.i32();
    s.BitMask = r.u8();
    s.ValueNames = r.text();
    s.Values = r.text();
    return s;
}

// Runs read on a random-access view of in: a sequential device is drained into memory
// first, since the count checks need to know how many bytes are left.
template<typename Read>
void withRandomAccess(QIODevice &in, Read read)
{
    if (!in.isSequential()) {
        read(in);
        return;
    }
    // A pipe or device could stream without end: take no more than a setting file can
    // sensibly hold, in pieces so that memory follows what actually arrives.
    QByteArray data;
    for (;;) {
        const QByteArray piece = in.read(SequentialPieceBytes);
        if (piece.isEmpty())
            break;
        data.append(piece);
        if (data.size() > MaxSequentialBytes)
            throw BvlError(ErrNo::OutOfMemory, QStringLiteral("input larger than a setting file can be"));
    }
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    read(buffer);
}

void openForReading(QFile &file)
{
    if (!file.exists())
        throw BvlError(ErrNo::FileNotFound);
    if (!file.open(QIODevice::ReadOnly))
        throw BvlError(ErrNo::PathFileAccess);
}

class FieldWriter
{
public:
    void u8(quint8 v) { m_out.append(static_cast<char>(v)); }
    void i16(qint16 v) { append(qToLittleEndian(v)); }
    void i32(qint32 v) { append(qToLittleEndian(v)); }

    void text(const QString &t)
    {
        const QByteArray bytes = Cp1252::encode(t);
        if (bytes.size() > MaxTextBytes)
            throw BvlError(ErrNo::Overflow, QStringLiteral("text longer than 65535 bytes"));
        append(qToLittleEndian(static_cast<quint16>(bytes.size())));
        m_out.append(bytes);
    }

    void magic(const QString &t)
    {
        const QByteArray bytes = Cp1252::encode(t);
        if (bytes.size() != MagicSize)
            throw BvlError(ErrNo::Overflow, QStringLiteral("magic must be 3 bytes"));
        m_out.append(bytes);
    }

    QByteArray result() const { return m_out; }

private:
    template<typename T>
    void append(T littleEndian)
    {
        m_out.append(reinterpret_cast<const char *>(&littleEndian), sizeof littleEndian);
    }

    QByteArray m_out;
};

} // namespace

void ReadSettingHeaderStream(QIODevice &in, SettingFileHeader &header)
{
    // The header has no count to validate; each of its texts is checked against the bytes left.
    withRandomAccess(in, [&](QIODevice &dev) {
        FieldReader r(dev);
        header = readHeader(r);
    });
}

void ReadSettingStream(QIODevice &in, SettingFileHeader &header, SettingList &settings)
{
    withRandomAccess(in, [&](QIODevice &dev) {
        FieldReader r(dev);
        SettingFileHeader newHeader = readHeader(r);
        if (newHeader.SettingCount < 1 || newHeader.SettingCount > r.remaining() / MinRecordSize)
            throw BvlError(ErrNo::OutOfMemory, QStringLiteral("setting count %1 does not fit the file")
                                                   .arg(newHeader.SettingCount));
        SettingList newSettings;
        newSettings.reserve(newHeader.SettingCount);
        for (qint32 i = 0; i < newHeader.SettingCount; ++i)
            newSettings.append(readSetting(r));
        // Handed over only now, so a failed read leaves the caller's file as it was.
        header = std::move(newHeader);
        settings = std::move(newSettings);
    });
}

void ReadSettingFile(const QString &path, SettingFileHeader &header, SettingList &settings)
{
    QFile file(path);
    openForReading(file);
    ReadSettingStream(file, header, settings);
}

bool ReadSettingHeader(const QString &path, SettingFileHeader &header)
{
    try {
        QFile file(path);
        openForReading(file);
        ReadSettingHeaderStream(file, header);
        return true;
    } catch (const BvlError &) {
        return false;
    }
}

QByteArray EncodeSettingFile(const SettingFileHeader &header, const SettingList &settings)
{
    FieldWriter w;
    w.magic(header.Magic);
    w.u8(header.FileVersion);
    w.text(header.ProgramVersion);
    w.i16(header.SEEMNr);
    w.i16(header.SEEMRec);
    w.text(header.Phones);
    w.i32(header.SettingCount);
    w.text(header.Author);
    for (const SettingStruct &s : settings) {
        w.text(s.Name);
        w.text(s.Description);
        w.u8(s.Type);
        w.i32(s.UIIndex);
        w.text(s.Group);
        w.i32(s.Offset);
        w.i32(s.MaxStringLength);
        w.u8(s.BitMask);
        w.text(s.ValueNames);
        w.text(s.Values);
    }
    return w.result();
}

void WriteSettingFile(const QString &path, const SettingFileHeader &header, const SettingList &settings)
{
    // Encoding first means a text the format cannot hold never touches the disk; the save
    // file then replaces the old file only once the new one is complete.
    const QByteArray bytes = EncodeSettingFile(header, settings);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw BvlError(ErrNo::PathFileAccess, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw BvlError(ErrNo::PathFileAccess, reason);
    }
    if (!file.commit())
        throw BvlError(ErrNo::PathFileAccess, file.errorString());
}

HeaderCheck CheckSettingHeader(const SettingFileHeader &header)
{
    if (header.Magic != QLatin1String("sec"))
        return HeaderCheck::UnknownFile;
    if (header.FileVersion != 3)
        return HeaderCheck::UnsupportedVersion;
    return HeaderCheck::Accepted;
}
