#include "net/LineBuffer.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr int GrowStep = 256;

} // namespace

void LineBuffer::ensure(int Capacity)
{
    if (m_data.size() >= Capacity)
        return;
    // Grows in steps, and at least doubles, so that a long line costs linear copying.
    const qsizetype size =
        std::max<qsizetype>((Capacity + GrowStep - 1) / GrowStep * GrowStep, m_data.size() * 2);
    m_data.resize(size);
}

char *LineBuffer::reserve(int Size)
{
    ensure(m_count + std::max(Size, 0) + 1);
    return m_data.data() + m_count;
}

void LineBuffer::commit(int Size)
{
    if (Size <= 0)
        return;
    m_count = std::min(m_count + Size, int(m_data.size()) - 1);
    m_data[m_count] = '\0';
}

int LineBuffer::edit(int NewCount, QByteArray *Echo)
{
    NewCount = std::clamp(NewCount, 0, m_count);
    const int start = m_count - NewCount;
    const QByteArray input(m_data.constData() + start, NewCount);
    int pos = start;
    int keep = start; // held bytes no backspace reached
    for (const char c : input) {
        if (c == '\b') {
            if (pos > 0) {
                --pos;
                keep = std::min(keep, pos);
                if (Echo)
                    Echo->append("\b \b");
            }
        } else if (c == '\t') {
            const int blanks = 8 - pos % 8;
            ensure(pos + blanks + 1);
            std::memset(m_data.data() + pos, ' ', size_t(blanks));
            pos += blanks;
            if (Echo)
                Echo->append(blanks, ' ');
        } else {
            ensure(pos + 2);
            m_data[pos++] = c;
            if (Echo)
                Echo->append(c);
        }
    }
    m_count = pos;
    ensure(m_count + 1);
    m_data[m_count] = '\0';
    return m_count - keep;
}

int LineBuffer::find(const QByteArray &End, int From) const
{
    if (End.isEmpty() || m_count == 0)
        return -1;
    const std::string_view held(m_data.constData(), size_t(m_count));
    const size_t at = held.find(std::string_view(End.constData(), size_t(End.size())),
                                size_t(std::clamp(From, 0, m_count)));
    return at == std::string_view::npos ? -1 : int(at);
}

int LineBuffer::take(char *Buffer, int Size, bool Peek)
{
    const int n = std::clamp(Size, 0, m_count);
    if (n > 0)
        std::memcpy(Buffer, m_data.constData(), size_t(n));
    if (!Peek)
        remove(n);
    return n;
}

void LineBuffer::remove(int Size)
{
    const int n = std::clamp(Size, 0, m_count);
    if (n == 0)
        return;
    std::memmove(m_data.data(), m_data.constData() + n, size_t(m_count - n));
    m_count -= n;
    m_data[m_count] = '\0';
}

void LineBuffer::clear()
{
    m_count = 0;
    if (!m_data.isEmpty())
        m_data[0] = '\0';
}

void LineBuffer::release()
{
    m_count = 0;
    m_data = QByteArray();
}
