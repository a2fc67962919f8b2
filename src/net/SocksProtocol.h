#pragma once

#include <QByteArray>
#include <QtGlobal>

/// The client side of a SOCKS 4, 4A or 5 negotiation as bytes: the requests to send and
/// the reading of the replies. It owns no socket; the SOCKS layer of the socket component
/// reads into it and acts on what each reply says.
class SocksProtocol final
{
public:
    /// Negotiation states (SocksState): 0 data, 1 methods offered, 2 authenticating,
    /// 3 connect request sent.
    enum State
    {
        Idle = 0,
        Methods = 1,
        Authenticating = 2,
        Requested = 3
    };

    /// What a reply asks for.
    struct Outcome
    {
        enum Kind
        {
            Wait,         ///< the reply is not complete yet
            SendUsercode, ///< the proxy chose user-code/password authentication
            SendConnect,  ///< methods or authentication settled: send the connect request
            Connected,    ///< the proxy connected us; bytes behind the reply are pending
            Failed        ///< Code and Text say why
        };
        Kind What = Wait;
        int Code = 0;
        QByteArray Text;
        bool AuthNotRequired = false; ///< a method was offered and the proxy wants none
        bool AuthSuccess = false;     ///< the user-code was accepted
    };

    /// A read never asks for more than this, unless a SOCKS 5 reply naming a long host
    /// needs more room to complete.
    static constexpr int ReadLimit = 127;

    /// Starts a negotiation for Level ("4", "4A" or "5") in state Methods.
    void begin(const QByteArray &Level, int AuthNumber);
    /// Back to Idle with nothing held.
    void reset();
    int state() const { return m_state; }
    void setState(int Value) { m_state = Value; }
    /// Bytes of the reply read so far.
    int count() const { return m_count; }
    /// Room for the next read, behind what is held.
    int room() const;
    /// Where the next read goes (room() bytes).
    char *tail();
    /// Takes Count bytes just read into tail() and says what the reply asks for.
    Outcome received(int Count);

    /// After Connected: the bytes that arrived behind the reply.
    int pendingCount() const { return m_pendingCount; }
    /// Copies up to Size pending bytes to Buffer, consuming them unless Peek.
    int takePending(char *Buffer, int Size, bool Peek);
    /// The proxy's bound address and port from its final reply, as text.
    const QByteArray &boundAddr() const { return m_boundAddr; }
    const QByteArray &boundPort() const { return m_boundPort; }

    /// SOCKS 5 greeting offering one method (0 none, 2 user-code/password).
    static QByteArray greeting(int AuthNumber);
    /// SOCKS 5 user-code/password request; each text is cut to the 255 bytes its length
    /// byte can announce.
    static QByteArray usercodeRequest(const QByteArray &Usercode, const QByteArray &Password);
    /// SOCKS 4 connect request to Addr (network order) and Port.
    static QByteArray connect4(quint16 Port, quint32 Addr, const QByteArray &Usercode);
    /// SOCKS 4A connect request: the proxy resolves Host.
    static QByteArray connect4A(quint16 Port, const QByteArray &Usercode, const QByteArray &Host);
    /// SOCKS 5 connect request by name (cut to 255 bytes).
    static QByteArray connect5(const QByteArray &Host, quint16 Port);

private:
    Outcome fail(int Code, const QByteArray &Text);
    Outcome methodsReply();
    Outcome authReply();
    Outcome socks4Reply();
    Outcome socks5Reply();
    Outcome connected(int Length);
    quint8 at(int i) const { return quint8(m_buffer[i]); }

    // The longest reply, a SOCKS 5 reply naming a 255-byte host, and a full read behind it.
    char m_buffer[7 + 255 + ReadLimit + 1] = {};
    int m_count = 0;
    int m_needed = 0; // length of a SOCKS 5 reply once its address type is known
    int m_state = Idle;
    bool m_level5 = true;
    bool m_offered = false; // a method other than "none" was offered
    int m_pendingPos = 0;
    int m_pendingCount = 0;
    QByteArray m_boundAddr;
    QByteArray m_boundPort;
};
