#include "core/SettingFile.h"

#include "core/BvlError.h"
#include "core/CodePage.h"
#include "core/OutputTarget.h"
#include "core/RegularFile.h"
#include "core/TextPool.h"

#include <QSaveFile>
#include <QtEndian>

#include <limits>
#include <utility>

namespace {

constexpr int MagicSize = 3;
constexpr qsizetype MaxTextBytes = SettingFileFormat::MaxTextBytes;
constexpr qint64 MaxSequentialBytes = 64 * 1024 * 1024;
constexpr qint64 SequentialPieceBytes = 64 * 1024;
// The longest header the format can express: magic, version, three full texts and the
// numbers. Reading only this much keeps a header read cheap however long the file is.
constexpr qint64 MaxHeaderBytes = MagicSize + 1 + 3 * (2 + MaxTextBytes) + 2 + 2 + 4;

// Reads the fields of the format from bytes already in memory. Every read first checks
// that the bytes are there, so a short or hostile file costs nothing beyond its size.
class FieldReader
{
public:
    explicit FieldReader(QByteArrayView bytes) : m_next(bytes.data()), m_end(bytes.data() + bytes.size()) {}

    qint64 remaining() const { return m_end - m_next; }

    quint8 u8() { return static_cast<quint8>(*take(1)); }
    qint16 i16() { return qFromLittleEndian<qint16>(take(2)); }
    quint16 u16() { return qFromLittleEndian<quint16>(take(2)); }
    qint32 i32() { return qFromLittleEndian<qint32>(take(4)); }
    QString text()
    {
        const quint16 count = u16();
        return CodePage::decode(QByteArrayView(take(count), count));
    }
    // A text of a record, decoded into the pool the file's records share.
    QString text(TextPool &pool)
    {
        const quint16 count = u16();
        return pool.decode(QByteArrayView(take(count), count));
    }
    QString magic() { return CodePage::decode(QByteArrayView(take(MagicSize), MagicSize)); }
    // Passes over a text without decoding it.
    void skipText() { take(u16()); }

private:
    // The next count bytes, which stay in the caller's buffer.
    const char *take(qint64 count)
    {
        if (count > remaining())
            throw BvlError(ErrNo::InputPastEnd);
        const char *field = m_next;
        m_next += count;
        return field;
    }

    const char *m_next;
    const char *m_end;
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

SettingStruct readSetting(FieldReader &r, TextPool &texts)
{
    SettingStruct s;
    s.Name = r.text(texts);
    s.Description = r.text(texts);
    s.Type = r.u8();
    s.UIIndex = r.i32();
    s.Group = r.text(texts);
    s.Offset = r.i32();
    s.MaxStringLength = r.i32();
    s.BitMask = r.u8();
    s.ValueNames = r.text(texts);
    s.Values = r.text(texts);
    return s;
}

// Passes over a record as readSetting reads it, decoding nothing.
void skipSetting(FieldReader &r)
{
    r.skipText();   // name
    r.skipText();   // description
    r.u8();         // type
    r.i32();        // UIIndex
    r.skipText();   // group
    r.i32();        // offset
    r.i32();        // string length
    r.u8();         // bit mask
    r.skipText();   // value names
    r.skipText();   // values
}

// The whole records the bytes after the header hold, for a count they cannot hold, and
// whether the bytes end exactly where the last of them ends. Each record read takes
// bytes, so this ends with the input.
struct WholeRecords
{
    int count = 0;
    bool endsAtRecord = true;
};
WholeRecords CountWholeRecords(FieldReader r)
{
    WholeRecords whole;
    try {
        for (; r.remaining() > 0; ++whole.count)
            skipSetting(r);
    } catch (const BvlError &) {
        whole.endsAtRecord = false;
    }
    return whole;
}

// The failure of a file whose bytes end after complete whole records of the counted ones
// (at least one whole record: a header alone is cut inside its first record), or inside
// the record after them.
SettingFileCutError CutError(int number, int complete, bool atBoundary, qint32 counted)
{
    if (atBoundary && complete > 0)
        return SettingFileCutError(number, complete,
                                   QStringLiteral("the file ends after record %1 of the %2 its header counts")
                                       .arg(QString::number(complete), QString::number(counted)),
                                   counted);
    return SettingFileCutError(number, complete + 1,
                               QStringLiteral("the file ends inside record %1").arg(complete + 1));
}

constexpr qint64 WholeInput = std::numeric_limits<qint64>::max();

// A pipe or device could stream without end: take no more than a setting file can
// sensibly hold, in pieces so that memory follows what actually arrives.
QByteArray drainSequential(QIODevice &in, qint64 wanted)
{
    const qint64 limit = qMin(wanted, MaxSequentialBytes);
    QByteArray data;
    while (data.size() < limit) {
        const QByteArray piece = in.read(qMin(SequentialPieceBytes, limit - data.size()));
        if (piece.isEmpty())
            return data;
        data.append(piece);
    }
    // Filled up: a header has all it needs, but a whole file must end here.
    if (wanted > MaxSequentialBytes && !in.read(1).isEmpty())
        throw BvlError(ErrNo::OutOfMemory, QStringLiteral("input larger than a setting file can be"));
    return data;
}

// The rest of in, at most wanted bytes. A random-access device is read in one go, bounded
// by its size (asked once), so that parsing never goes back to the device.
QByteArray readRest(QIODevice &in, qint64 wanted)
{
    if (in.isSequential())
        return drainSequential(in, wanted);
    const qint64 available = in.size() - in.pos();
    if (wanted == WholeInput && available > MaxSettingFileBytes)
        throw BvlError(ErrNo::FileTooLarge, QStringLiteral("input larger than a setting file can be"));
    QByteArray data(qBound<qint64>(0, available, wanted), Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < data.size()) {
        const qint64 got = in.read(data.data() + filled, data.size() - filled);
        if (got < 0)
            throw BvlError(ErrNo::PathFileAccess, in.errorString());
        if (got == 0)
            break;   // shrank since its size was asked: parse what is there
        filled += got;
    }
    data.truncate(filled);
    return data;
}

class FieldWriter
{
public:
    void u8(quint8 v) { m_out.append(static_cast<char>(v)); }
    void i16(qint16 v) { append(qToLittleEndian(v)); }
    void i32(qint32 v) { append(qToLittleEndian(v)); }

    void text(const QString &t)
    {
        const QByteArray bytes = CodePage::encode(t);
        if (bytes.size() > MaxTextBytes)
            throw BvlError(ErrNo::Overflow, QStringLiteral("text longer than 65535 bytes"));
        append(qToLittleEndian(static_cast<quint16>(bytes.size())));
        m_out.append(bytes);
    }

    void magic(const QString &t)
    {
        const QByteArray bytes = CodePage::encode(t);
        if (bytes.size() != MagicSize)
            throw BvlError(ErrNo::Overflow, QStringLiteral("magic must be 3 bytes"));
        m_out.append(bytes);
    }

    QByteArray result() const { return m_out; }

private:
    template<typename T> void append(T littleEndian)
    {
        m_out.append(reinterpret_cast<const char *>(&littleEndian), sizeof littleEndian);
    }

    QByteArray m_out;
};

}   // namespace

namespace {

void ParseSettingHeader(QByteArrayView bytes, SettingFileHeader &header)
{
    // The header has no count to validate; each of its texts is checked against the bytes read.
    FieldReader r(bytes);
    header = readHeader(r);
}

void ParseSettingFile(QByteArrayView bytes, SettingFileHeader &header, SettingList &settings,
                      QByteArray *trailing = nullptr)
{
    FieldReader r(bytes);
    SettingFileHeader newHeader;
    try {
        newHeader = readHeader(r);
    } catch (const BvlError &e) {
        throw SettingFileCutError(e.number(), 0, QStringLiteral("the file ends inside its header"));
    }
    if (newHeader.SettingCount < 1)
        throw BvlError(ErrNo::OutOfMemory,
                       QStringLiteral("setting count %1 does not fit the file").arg(newHeader.SettingCount));
    if (newHeader.SettingCount > r.remaining() / MinRecordSize) {
        const WholeRecords whole = CountWholeRecords(r);
        throw CutError(ErrNo::OutOfMemory, whole.count, whole.endsAtRecord, newHeader.SettingCount);
    }
    // Every text takes its length field and its bytes from the input and a character per
    // byte plus a terminator from the pool, so the rest of the input bounds what they need.
    TextPool texts(r.remaining());
    SettingList newSettings;
    newSettings.reserve(newHeader.SettingCount);
    for (qint32 i = 0; i < newHeader.SettingCount; ++i) {
        const bool atBoundary = r.remaining() == 0;
        try {
            newSettings.append(readSetting(r, texts));
        } catch (const BvlError &e) {
            if (e.number() != ErrNo::InputPastEnd)
                throw;
            throw CutError(e.number(), i, atBoundary, newHeader.SettingCount);
        }
    }
    // Handed over only now, so a failed read leaves the caller's file as it was.
    header = std::move(newHeader);
    settings = std::move(newSettings);
    if (trailing)
        *trailing = bytes.last(r.remaining()).toByteArray();
}

}   // namespace

void ReadSettingHeaderStream(QIODevice &in, SettingFileHeader &header)
{
    ParseSettingHeader(readRest(in, MaxHeaderBytes), header);
}

void ReadSettingStream(QIODevice &in, SettingFileHeader &header, SettingList &settings)
{
    ParseSettingFile(readRest(in, WholeInput), header, settings);
}

void ReadSettingFile(const QString &path, SettingFileHeader &header, SettingList &settings, QByteArray *trailing)
{
    // Only a regular file, opened without blocking, and refused by its size before a
    // byte of it is held in memory.
    ParseSettingFile(ReadRegularFile(path, MaxSettingFileBytes), header, settings, trailing);
}

bool ReadSettingHeader(const QString &path, SettingFileHeader &header)
{
    try {
        RegularFile file(path);
        ParseSettingHeader(file.read(MaxHeaderBytes), header);
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

void WriteSettingFile(const QString &path, const SettingFileHeader &header, const SettingList &settings,
                      const QByteArray &trailing)
{
    // Encoding first means a text the format cannot hold never touches the disk; the save
    // file then replaces the old file only once the new one is complete.
    const QByteArray bytes = EncodeSettingFile(header, settings) + trailing;
    // The one output check and writer: a FIFO or device is refused, the old file replaced
    // only once the new one is complete, a failure told in the system's words. Refused as
    // every other failure of the writer, with the number its callers report.
    try {
        WriteOutputFile(path, bytes);
    } catch (const BvlError &e) {
        throw BvlError(ErrNo::PathFileAccess, QString::fromUtf8(e.what()));
    }
}

bool HasSettingFileMagic(const QString &path)
{
    try {
        RegularFile file(path);
        return file.read(MagicSize) == SettingFileFormat::Magic.toLatin1();
    } catch (const BvlError &) {
        return false;
    }
}

int FirstOversizedGroupPath(const SettingList &settings)
{
    for (qsizetype i = 0; i < settings.size(); ++i) {
        const QString &group = settings[i].Group;
        if (group.size() > MaxGroupPathLength || group.count(GroupSeparator) >= MaxGroupLevels)
            return int(i + 1);
    }
    return 0;
}

HeaderCheck CheckSettingHeader(const SettingFileHeader &header)
{
    if (header.Magic != SettingFileFormat::Magic)
        return HeaderCheck::UnknownFile;
    if (header.FileVersion != SettingFileFormat::Version)
        return HeaderCheck::UnsupportedVersion;
    return HeaderCheck::Accepted;
}
