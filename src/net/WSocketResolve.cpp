#include "net/WSocketResolve.h"

#include "net/SocketError.h"
#include "net/WSocketLibrary.h"
#include "net/WSocketTypes.h"
#include "platform/InterfaceAddresses.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

[[noreturn]] void raise(const QByteArray &msg)
{
    throw ESocketException(msg);
}

// A text no lookup could resolve: the caller's LastError reads "Invalid argument".
[[noreturn]] void raiseInvalid(const QByteArray &msg)
{
    WSocketSetLastError(SocketError::InvalidArgument);
    throw ESocketException(msg);
}

// IsDottedIP has checked the form, so the groups are decimal values below 256.
quint32 dottedToAddr(const QByteArray &text)
{
    quint32 host = 0;
    quint32 group = 0;
    for (char c : text) {
        if (isDigit(c)) {
            group = group * 10 + quint32(c - '0');
        } else if (c == '.') {
            host = (host << 8) | (group & 0xFF);
            group = 0;
        }
    }
    host = (host << 8) | (group & 0xFF);
    return htonl(host);
}

std::optional<HostEnt> hostByName(const QByteArray &name)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM; // one entry per address
    hints.ai_flags = AI_CANONNAME;
    addrinfo *res = nullptr;
    const int rc = getaddrinfo(name.constData(), nullptr, &hints, &res);
    if (rc != 0) {
        WSocketSetLastError(WSocketErrorFromResolver(rc));
        return std::nullopt;
    }
    HostEnt entry;
    entry.Name = res->ai_canonname ? QByteArray(res->ai_canonname) : name;
    for (const addrinfo *ai = res; ai; ai = ai->ai_next) {
        const quint32 addr = reinterpret_cast<const sockaddr_in *>(ai->ai_addr)->sin_addr.s_addr;
        if (!entry.Addresses.contains(addr))
            entry.Addresses.append(addr);
    }
    freeaddrinfo(res);
    return entry;
}

} // namespace

quint32 ParseDecimal(const QByteArray &S)
{
    quint32 value = 0;
    qsizetype i = 0;
    while (i < S.size() && S[i] == ' ')
        ++i;
    while (i < S.size() && isDigit(S[i])) {
        value = value * 10 + quint32(S[i] - '0');
        ++i;
    }
    return value;
}

bool IsDottedIP(const QByteArray &S)
{
    const qsizetype len = S.size();
    qsizetype i = 0;
    while (i < len && S[i] == ' ')
        ++i;
    if (i < len && S[i] == '.')
        return false;
    int dots = 0;
    quint32 value = 0;
    while (i < len) {
        const char c = S[i];
        if (isDigit(c)) {
            // Capped so that a long run of digits cannot wrap back below 256.
            value = std::min<quint32>(value * 10 + quint32(c - '0'), 1000);
            ++i;
        } else if (c == '.') {
            ++dots;
            if (dots > 3 || value >= 256 || i + 1 >= len || !isDigit(S[i + 1]))
                return false;
            value = 0;
            ++i;
        } else {
            while (i < len && S[i] == ' ')
                ++i;
            if (i < len)
                return false;
        }
    }
    return dots == 3 && value < 256;
}

QByteArray WSocketAddrToText(quint32 Addr)
{
    const quint32 host = ntohl(Addr);
    return QByteArray::number(host >> 24) + '.' + QByteArray::number((host >> 16) & 0xFF) + '.' +
           QByteArray::number((host >> 8) & 0xFF) + '.' + QByteArray::number(host & 0xFF);
}

quint32 WSocketResolveHostUncounted(const QByteArray &InAddr)
{
    if (InAddr.isEmpty() || InAddr.size() > 256)
        raiseInvalid("WSocketResolveHost: '" + InAddr + "' Invalid Hostname.");
    const QByteArray buffer = InAddr.trimmed();
    if (IsDottedIP(InAddr)) {
        const quint32 addr = dottedToAddr(buffer);
        // All ones doubles as the conversion's failure value: only the literal text may
        // produce it.
        if (addr == 0xFFFFFFFFu && buffer != "255.255.255.255")
            raiseInvalid("WSocketResolveHost: '" + InAddr + "' Invalid IP address.");
        return addr;
    }
    WSocketLoad();
    const std::optional<HostEnt> entry = hostByName(buffer);
    if (!entry || entry->Addresses.isEmpty())
        raise("WSocketResolveHost: Cannot convert host address '" + InAddr + "', Error #" +
              QByteArray::number(WSocketGetLastError()));
    return entry->Addresses.first();
}

quint32 WSocketResolveHost(const QByteArray &InAddr)
{
    WSocketCountedCall counted;
    return WSocketResolveHostUncounted(InAddr);
}

quint32 WSocketResolvePort(const QByteArray &Port, const QByteArray &Proto)
{
    if (Port.isEmpty() || Port.size() >= 32)
        raiseInvalid("WSocketResolvePort: Invalid Port.");
    if (Proto.isEmpty() || Proto.size() >= 32)
        raiseInvalid("WSocketResolvePort: Invalid Proto.");
    if (isDigit(Port[0]))
        return ParseDecimal(Port);
    WSocketLoad();
    const QByteArray name = Port.trimmed();
    const QByteArray proto = Proto.trimmed();
    servent entry{};
    servent *found = nullptr;
    char buf[1024];
    getservbyname_r(name.constData(), proto.isEmpty() ? nullptr : proto.constData(), &entry, buf,
                    sizeof buf, &found);
    // The resolver reports "not found" for services and protocols without an errno.
    if (!found) {
        WSocketSetLastError(SocketError::NoData);
        raise("WSocketResolvePort: Cannot convert port '" + Port + "', Error #" +
              QByteArray::number(SocketError::NoData));
    }
    return ntohs(quint16(found->s_port));
}

quint32 WSocketResolveProto(const QByteArray &Proto)
{
    if (Proto.isEmpty() || Proto.size() >= 32)
        raiseInvalid("WSocketResolveProto: Invalid Protocol.");
    if (isDigit(Proto[0]))
        return ParseDecimal(Proto);
    const QByteArray name = Proto.trimmed().toLower();
    if (name == "tcp")
        return 6;
    if (name == "udp")
        return 17;
    if (name == "raw")
        return 255;
    WSocketLoad();
    protoent entry{};
    protoent *found = nullptr;
    char buf[1024];
    getprotobyname_r(name.constData(), &entry, buf, sizeof buf, &found);
    if (!found) {
        WSocketSetLastError(SocketError::NoData);
        raise("WSocketResolveProto: Cannot convert protocol '" + name + "', Error #" +
              QByteArray::number(SocketError::NoData));
    }
    return quint32(found->p_proto);
}

std::optional<HostEnt> WSocketGetHostByName(const QByteArray &Name)
{
    if (Name.isEmpty() || Name.size() > 256)
        raiseInvalid("WSocketGetHostByName: Invalid Hostname.");
    WSocketCountedCall counted;
    return hostByName(Name);
}

QByteArray LocalHostName()
{
    WSocketCountedCall counted;
    char buf[64] = {};
    if (gethostname(buf, sizeof buf - 1) != 0) {
        WSocketSetLastErrorFromErrno(errno);
        raise("Winsock.GetHostName failed");
    }
    return QByteArray(buf);
}

QByteArrayList LocalIPList()
{
    // A fresh list per call: a shared one handed out by reference could change under a
    // caller while another thread refills it, whatever lock guarded the refill.
    QByteArrayList list;
    WSocketCountedCall counted;
    for (const InterfaceAddress &entry : InterfaceAddresses::ipv4())
        list.append(WSocketAddrToText(entry.Addr));
    return list;
}
