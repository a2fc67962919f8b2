#include "net/CustomLineWSocket.h"

#include "net/WSocketInternal.h"

#include <QPointer>
#include <algorithm>

using namespace wsocket;

namespace {

// Bytes read when the system cannot say how many wait.
constexpr int UnknownCountRead = 255;
// Passes of the resumed assembly that may find no line before it gives up.
constexpr int IdleResumePasses = 3;

} // namespace

TCustomLineWSocket::TCustomLineWSocket(QObject *AOwner) : TCustomSocksWSocket(AOwner) {}

TCustomLineWSocket::~TCustomLineWSocket()
{
    m_line.release();
}

void TCustomLineWSocket::SetLineMode(bool Value)
{
    if (m_lineMode == Value)
        return;
    m_lineMode = Value;
    if (Value)
        m_searchFromStart = true;
    if (m_line.count() > 0 || m_lineLength > 0)
        postToWindow(LineResumeMsg, quintptr(m_hSocket), 0);
}

void TCustomLineWSocket::HandleWindowMessage(const WindowMessage &Msg)
{
    if (Msg.Msg != LineResumeMsg) {
        TCustomSocksWSocket::HandleWindowMessage(Msg);
        return;
    }
    const QPointer<TCustomLineWSocket> alive(this);
    int idle = 0;
    while (m_line.count() > 0) {
        m_lineFound = false;
        const int before = m_line.count();
        FireDataAvailable(0);
        if (!alive)
            return;
        if (m_lineMode ? !m_lineFound && ++idle > IdleResumePasses : m_line.count() >= before)
            break;
    }
}

int TCustomLineWSocket::GetRcvdCount()
{
    if (m_lineMode)
        return m_lineLength;
    if (m_line.count() > 0)
        return m_line.count(); // what line mode left behind is read first
    return TCustomSocksWSocket::GetRcvdCount();
}

int TCustomLineWSocket::RawReceive(void *Buffer, int Size, int Flags)
{
    const bool peek = (Flags & MSG_PEEK) != 0;
    int n;
    if (m_lineMode && m_lineLength > 0) {
        n = m_line.take(static_cast<char *>(Buffer), std::min(Size, m_lineLength), peek);
        if (!peek)
            m_lineLength -= n;
    } else if (!m_lineMode && m_line.count() > 0) {
        n = m_line.take(static_cast<char *>(Buffer), Size, peek);
    } else {
        return TCustomSocksWSocket::RawReceive(Buffer, Size, Flags);
    }
    m_rcvdFull = n >= Size;
    return n;
}

bool TCustomLineWSocket::FireDataAvailable(quint16 ErrCode)
{
    if (!m_lineMode || m_lineEnd.isEmpty() || SocksState() != 0)
        return TCustomSocksWSocket::FireDataAvailable(ErrCode);
    int n = TCustomSocksWSocket::GetRcvdCount();
    if (n < 0)
        return true;
    if (n == 0)
        n = UnknownCountRead;
    char *tail = m_line.reserve(n);
    int len = TCustomSocksWSocket::RawReceive(tail, n, 0);
    if (len < 0)
        m_lastError = WSocketGetLastError();
    if (len <= 0) {
        if (m_line.count() == 0)
            return true;
        len = 0;
    }
    m_line.commit(len);
    int fresh = len;
    if (len > 0) {
        const QPointer<TCustomLineWSocket> alive(this);
        if (m_lineEdit)
            fresh = EditLine(len);
        else if (m_lineEcho)
            echo(QByteArray(m_line.constData() + m_line.count() - len, len));
        if (!alive)
            return true;
    }
    // A line end split across reads begins at most its own length before the old end.
    const int oldEnd = m_line.count() - fresh;
    const int from = m_searchFromStart ? 0 : std::max(0, oldEnd - int(m_lineEnd.size()));
    m_searchFromStart = false;
    handOverLines(from);
    return true;
}

// Hands over every complete line; false when the socket went or was reopened meanwhile.
bool TCustomLineWSocket::handOverLines(int From)
{
    const QPointer<TCustomLineWSocket> alive(this);
    const quint64 gen = m_generation;
    while (m_lineMode) {
        const int at = m_line.find(m_lineEnd, From);
        if (at < 0) {
            if (m_lineLimit > 0 && m_line.count() > m_lineLimit) {
                bool clear = true;
                FireLineLimitExceeded(m_line.count(), clear);
                if (!alive || gen != m_generation)
                    return false;
                m_lineClearData = clear;
                if (clear) {
                    m_line.clear();
                    m_lineLength = 0;
                }
            }
            return true;
        }
        m_lineFound = true;
        m_lineLength = at + int(m_lineEnd.size());
        if (!handOverLine())
            return false;
        From = 0;
    }
    return handOverRaw();
}

bool TCustomLineWSocket::handOverLine()
{
    const QPointer<TCustomLineWSocket> alive(this);
    const quint64 gen = m_generation;
    while (m_lineMode && m_lineLength > 0) {
        const int before = m_lineLength;
        const bool handled = TCustomSocksWSocket::FireDataAvailable(0);
        if (!alive || gen != m_generation)
            return false;
        // No reader, or one that read nothing: the line is dropped rather than offered
        // again and again.
        if (!handled || m_lineLength >= before) {
            m_line.remove(m_lineLength);
            m_lineLength = 0;
        }
    }
    // Line mode switched off in the middle of a line: the rest is read raw.
    m_lineLength = 0;
    return true;
}

// Line mode was switched off meanwhile: what is held goes up as it is.
bool TCustomLineWSocket::handOverRaw()
{
    const QPointer<TCustomLineWSocket> alive(this);
    const quint64 gen = m_generation;
    while (!m_lineMode && m_line.count() > 0) {
        const int before = m_line.count();
        const bool handled = TCustomSocksWSocket::FireDataAvailable(0);
        if (!alive || gen != m_generation)
            return false;
        if (!handled)
            m_line.clear(); // nobody reads: dropped, as the core drops unread data
        else if (m_line.count() >= before)
            break; // kept for the handler's next read
    }
    return true;
}

void TCustomLineWSocket::FireSessionClosed(quint16 ErrCode)
{
    m_lineReceived = true;
    if (m_line.allocated()) {
        // The last line may lack its end: it is handed over all the same.
        if (m_lineMode && m_line.count() > 0 && !m_lineClearData) {
            const QPointer<TCustomLineWSocket> alive(this);
            const quint64 gen = m_generation;
            m_lineLength = m_line.count();
            handOverLine();
            if (!alive || gen != m_generation)
                return;
        }
        m_line.release();
        m_lineLength = 0;
        m_lineClearData = false;
    }
    TCustomSocksWSocket::FireSessionClosed(ErrCode);
}

int TCustomLineWSocket::EditLine(int NewCount)
{
    QByteArray shown;
    const int fresh = m_line.edit(NewCount, m_lineEcho ? &shown : nullptr);
    echo(shown);
    return fresh;
}

void TCustomLineWSocket::echo(const QByteArray &Bytes)
{
    if (Bytes.isEmpty())
        return;
    try {
        SendText(Bytes);
    } catch (const std::exception &) {
        // An echo that cannot go out is not worth losing the line for.
    }
}

void TCustomLineWSocket::FireLineLimitExceeded(qint32 RcvdLength, bool &ClearData)
{
    if (OnLineLimitExceeded)
        OnLineLimitExceeded(this, RcvdLength, ClearData);
}

int TCustomLineWSocket::SendLine(const QByteArray &Str)
{
    if (Str.isEmpty())
        return 0;
    // One send of text and end: with an empty LineEnd nothing would push the text out.
    const int r = SendText(Str + m_lineEnd);
    return r < 0 ? r : int(Str.size() + m_lineEnd.size());
}
