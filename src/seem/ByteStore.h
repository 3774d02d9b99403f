#pragma once
#include <QtGlobal>

// Random access to the bytes of a SEEM image. The codec reads and writes through this,
// so the same code serves the open file on disk, a buffered save and the tests.
// Every access past the end throws BvlError(ErrNo::InputPastEnd): a SEEM image never grows.
class ByteStore
{
public:
    virtual ~ByteStore() = default;
    virtual qint64 size() const = 0;
    virtual quint8 readByte(qint64 offset) = 0;
    virtual void writeByte(qint64 offset, quint8 value) = 0;
};
