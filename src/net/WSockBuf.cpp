#include "net/WSockBuf.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr qint32 DefaultBlockSize = 1514;
}

TBuffer::TBuffer(qint32 Size)
{
    SetBlockSize(Size);
}

TBuffer::~TBuffer()
{
    delete[] m_blockData;
}

bool TBuffer::SetBlockSize(qint32 Size)
{
    if (Size <= 0)
        Size = DefaultBlockSize;
    if (Size == m_blockSize)
        return true;
    // Shrinking below what was written would lose bytes still counted by the positions.
    if (Size < m_writePos)
        return false;
    char *fresh = new char[Size];
    if (m_writePos != m_readPos)
        std::memcpy(fresh, m_blockData, m_writePos);
    delete[] m_blockData;
    m_blockData = fresh;
    m_blockSize = Size;
    return true;
}

qint32 TBuffer::Write(const char *Data, qint32 Len)
{
    const qint32 room = m_blockSize - m_writePos;
    if (room <= 0 || Len <= 0 || !Data)
        return 0;
    const qint32 n = std::min(room, Len);
    std::memcpy(m_blockData + m_writePos, Data, n);
    m_writePos += n;
    return n;
}

const char *TBuffer::Peek(qint32 &Len) const
{
    Len = m_writePos - m_readPos;
    if (Len > 0)
        return m_blockData + m_readPos;
    Len = 0;
    return nullptr;
}

qint32 TBuffer::Remove(qint32 Len)
{
    const qint32 available = m_writePos - m_readPos;
    if (available <= 0 || Len <= 0)
        return 0;
    const qint32 n = std::min(Len, available);
    m_readPos += n;
    if (m_readPos == m_writePos)
        m_readPos = m_writePos = 0;
    return n;
}
