#pragma once
#include <QByteArrayView>
#include <QString>

// Decodes the many texts of one setting file into a single shared buffer.
//
// A file of 20,000 settings holds 100,000 texts. Giving each its own allocation costs far
// more than decoding them, the more so in a program whose heap is already busy with an
// open document, and freeing them costs as much again. Each text handed out is still an
// ordinary QString: it holds a reference that keeps the buffer alive, is terminated like
// any other, and copies itself out of the buffer on its first change while others share it.
//
// The buffer is taken in chunks of a few kilobytes, not one block for the whole file: a
// text copied out of the buffer to be changed (a group path with a name appended) gets an
// allocation as large as the part of its chunk before it, which must stay small.
class TextPool
{
public:
    // Room for texts of capacity characters in all, one terminator each included.
    explicit TextPool(qsizetype capacity);

    // Texts longer than this get a string of their own.
    static constexpr qsizetype ChunkChars = 4096;

    // The bytes in the current code page as a text; a separate string once the pool is full.
    QString decode(QByteArrayView bytes);

private:
    qsizetype m_remaining;   // characters the file's texts may still need
    QString m_buffer;        // the current chunk
    qsizetype m_used = 0;
};
