#pragma once
#include "core/BvlError.h"

#include <QByteArray>
#include <QtGlobal>

// Random access to the bytes of a SEEM image. The codec reads and writes through this,
// so the same code serves the open file on disk, a buffered save and the tests.
// Access goes in spans, one call per setting or per run of written bytes, because each
// call into a file is a system call. A SEEM image never grows.
class ByteStore
{
public:
    virtual ~ByteStore() = default;
    virtual qint64 size() const = 0;
    // The count bytes from offset on, cut short where the image ends (empty at or past the
    // end): the caller decides whether a short span is a failure. Throws
    // BvlError(ErrNo::InputPastEnd) for a negative offset.
    virtual QByteArray read(qint64 offset, qint64 count) = 0;
    // Replaces the bytes from offset on. Throws BvlError(ErrNo::InputPastEnd), having
    // written nothing, when any of them would lie outside the image.
    virtual void write(qint64 offset, const QByteArray &bytes) = 0;
    // Makes the written bytes durable; nothing to do for a store in memory.
    virtual void flush() {}

    // The one byte at offset, for callers that look at a single byte (the bits of a check
    // box or list). Throws BvlError(ErrNo::InputPastEnd) at or past the end.
    quint8 readByte(qint64 offset)
    {
        const QByteArray one = read(offset, 1);
        if (one.isEmpty())
            throw BvlError(ErrNo::InputPastEnd);
        return static_cast<quint8>(one.at(0));
    }

protected:
    // The span [offset, offset + count) lies inside an image of the given size.
    static bool SpanInside(qint64 offset, qint64 count, qint64 size)
    {
        return offset >= 0 && count >= 0 && offset <= size && count <= size - offset;
    }
};
