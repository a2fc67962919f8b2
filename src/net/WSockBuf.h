#pragma once

#include <QtGlobal>

/// One fixed-size block of a socket's send queue: bytes are written behind WritePos and
/// handed to the system from ReadPos; an emptied block is refilled from its start.
class TBuffer final
{
public:
    /// A size of 0 or less gives the default block of 1514 bytes.
    explicit TBuffer(qint32 Size);
    ~TBuffer();
    TBuffer(const TBuffer &) = delete;
    TBuffer &operator=(const TBuffer &) = delete;

    /// Changes the capacity, keeping the written bytes; returns false (and changes
    /// nothing) when the block holds more written bytes than the new size.
    bool SetBlockSize(qint32 Size);
    /// Appends as much of Data as fits; returns the number of bytes taken.
    qint32 Write(const char *Data, qint32 Len);
    /// The unsent bytes: their address (nullptr when none) and count.
    const char *Peek(qint32 &Len) const;
    /// Marks up to Len unsent bytes as sent; returns how many were marked.
    qint32 Remove(qint32 Len);

    qint32 BlockSize() const { return m_blockSize; }
    qint32 WritePos() const { return m_writePos; }
    qint32 ReadPos() const { return m_readPos; }

private:
    char *m_blockData = nullptr;
    qint32 m_blockSize = 0;
    qint32 m_writePos = 0;
    qint32 m_readPos = 0;
};
