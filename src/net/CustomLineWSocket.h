#pragma once

#include "net/CustomSocksWSocket.h"
#include "net/LineBuffer.h"

/// Line-assembly layer. With LineMode set and a non-empty LineEnd, OnDataAvailable is
/// raised once per complete line (RcvdCount is the line's length with its end), with
/// optional terminal editing (LineEdit) and echo (LineEcho), and OnLineLimitExceeded
/// when a line grows past LineLimit. With LineMode false everything passes through.
class TCustomLineWSocket : public TCustomSocksWSocket
{
public:
    explicit TCustomLineWSocket(QObject *AOwner = nullptr);
    ~TCustomLineWSocket() override;

    bool LineMode() const { return m_lineMode; }
    /// A change while bytes are held hands them over again from the event loop.
    virtual void SetLineMode(bool Value);
    const QByteArray &LineEnd() const { return m_lineEnd; }
    void SetLineEnd(const QByteArray &Value) { m_lineEnd = Value; }
    /// Bytes a line may reach before OnLineLimitExceeded; 0 or less: no limit.
    qint32 LineLimit() const { return m_lineLimit; }
    void SetLineLimit(qint32 Value) { m_lineLimit = Value; }
    bool LineEcho() const { return m_lineEcho; }
    void SetLineEcho(bool Value) { m_lineEcho = Value; }
    bool LineEdit() const { return m_lineEdit; }
    void SetLineEdit(bool Value) { m_lineEdit = Value; }
    /// Bytes of the line being handed over, 0 when none.
    int LineLength() const { return m_lineLength; }
    /// Sends Str followed by LineEnd: the bytes sent, 0 for an empty Str, -1 on failure.
    virtual int SendLine(const QByteArray &Str);

    TLineLimitEvent OnLineLimitExceeded;

protected:
    void HandleWindowMessage(const WindowMessage &Msg) override;
    int GetRcvdCount() override;
    bool FireDataAvailable(quint16 ErrCode) override;
    void FireSessionClosed(quint16 ErrCode) override;
    int RawReceive(void *Buffer, int Size, int Flags) override;
    virtual void FireLineLimitExceeded(qint32 RcvdLength, bool &ClearData);
    /// Edits the newest NewCount held bytes and echoes them with LineEcho; returns how
    /// many bytes at the end are new after editing.
    virtual int EditLine(int NewCount);

private:
    bool handOverLines(int From);
    bool handOverLine();
    bool handOverRaw();
    void echo(const QByteArray &Bytes);

    QByteArray m_lineEnd = "\r\n";
    bool m_lineMode = false;
    qint32 m_lineLimit = 65536;
    bool m_lineEcho = false;
    bool m_lineEdit = false;
    LineBuffer m_line;
    int m_lineLength = 0;
    bool m_lineFound = false;
    bool m_lineReceived = false;
    bool m_lineClearData = false;
    bool m_searchFromStart = false; // line mode came back on: held bytes were never searched
};
