#pragma once

#include "net/CustomSocksWSocket.h"

/// Line-assembly layer; inactive (everything passes through) while LineMode is false.
class TCustomLineWSocket : public TCustomSocksWSocket
{
public:
    explicit TCustomLineWSocket(QObject *AOwner = nullptr);

    bool LineMode() const { return m_lineMode; }
    virtual void SetLineMode(bool Value) { m_lineMode = Value; }
    const QByteArray &LineEnd() const { return m_lineEnd; }
    void SetLineEnd(const QByteArray &Value) { m_lineEnd = Value; }
    qint32 LineLimit() const { return m_lineLimit; }
    void SetLineLimit(qint32 Value) { m_lineLimit = Value; }
    bool LineEcho() const { return m_lineEcho; }
    void SetLineEcho(bool Value) { m_lineEcho = Value; }
    bool LineEdit() const { return m_lineEdit; }
    void SetLineEdit(bool Value) { m_lineEdit = Value; }
    /// Sends Str followed by LineEnd.
    virtual int SendLine(const QByteArray &Str);

    TLineLimitEvent OnLineLimitExceeded;

protected:
    QByteArray m_lineEnd = "\r\n";
    bool m_lineMode = false;
    qint32 m_lineLimit = 65536;
    bool m_lineEcho = false;
    bool m_lineEdit = false;
};
