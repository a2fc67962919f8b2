#include "net/CustomWSocket.h"
#include "net/LookupPool.h"
#include "net/SocketError.h"
#include "net/SocketWindow.h"
#include "net/WSocketInternal.h"

#include <QCoreApplication>
#include <arpa/inet.h>
#include <atomic>
#include <mutex>
#include <netdb.h>

using namespace wsocket;

// A pending lookup shared with its worker; the worker posts its answer only while the
// socket still waits for it.
struct DnsRequest
{
    std::mutex Lock;
    QObject *Target = nullptr;
};

namespace {

std::atomic<int> g_lookupCounter{0};

// The blocking part of a lookup: the addresses of a name, or the name of an address.
QByteArrayList resolve(const QByteArray &name, bool reverse, int &err)
{
    QByteArrayList results;
    err = 0;
    if (!reverse) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_DGRAM;
        addrinfo *res = nullptr;
        const int rc = getaddrinfo(name.constData(), nullptr, &hints, &res);
        if (rc != 0) {
            err = WSocketErrorFromResolver(rc);
            return results;
        }
        for (const addrinfo *ai = res; ai; ai = ai->ai_next) {
            const QByteArray text = WSocketAddrToText(
                reinterpret_cast<const sockaddr_in *>(ai->ai_addr)->sin_addr.s_addr);
            if (!results.contains(text))
                results.append(text);
        }
        freeaddrinfo(res);
        return results;
    }
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    inet_pton(AF_INET, name.trimmed().constData(), &sa.sin_addr);
    char host[NI_MAXHOST] = {};
    const int rc = getnameinfo(reinterpret_cast<const sockaddr *>(&sa), sizeof sa, host,
                               sizeof host, nullptr, 0, NI_NAMEREQD);
    if (rc != 0)
        err = WSocketErrorFromResolver(rc);
    else
        results.append(QByteArray(host));
    return results;
}

} // namespace

void TCustomWSocket::startLookup(const QByteArray &Name, bool Reverse)
{
    int handle = ++g_lookupCounter;
    if (handle == 0)
        handle = ++g_lookupCounter;
    auto request = std::make_shared<DnsRequest>();
    request->Target = m_window;
    m_dnsRequest = request;
    m_dnsLookupHandle = handle;
    const quint64 generation = m_generation;
    // Name resolution blocks, so it runs on the lookup pool; the answer comes back as a
    // posted request like every other notification.
    LookupPool::shared().start([request, Name, Reverse, handle, generation] {
        {
            // Cancelled while waiting for a worker: nobody wants the answer.
            std::lock_guard guard(request->Lock);
            if (!request->Target)
                return;
        }
        int err = 0;
        auto results = std::make_shared<QByteArrayList>(resolve(Name, Reverse, err));
        WindowMessage msg;
        msg.Msg = Reverse ? HostByAddrMsg : HostByNameMsg;
        msg.Generation = generation;
        msg.WParam = quintptr(handle);
        msg.LParam = qintptr(err) << 16;
        msg.Results = std::move(results);
        std::lock_guard guard(request->Lock);
        if (request->Target)
            QCoreApplication::postEvent(request->Target, new SocketEvent(std::move(msg)));
    });
}

void TCustomWSocket::handleLookupDone(const WindowMessage &Msg)
{
    if (m_dnsLookupHandle == 0 || Msg.WParam != quintptr(m_dnsLookupHandle))
        return;
    m_dnsLookupHandle = 0;
    m_dnsRequest.reset();
    const quint16 err = quint16((Msg.LParam >> 16) & 0xFFFF);
    if (err == 0 && Msg.Results) {
        m_dnsResultList = *Msg.Results;
        m_dnsResult = m_dnsResultList.isEmpty() ? QByteArray() : m_dnsResultList.first();
    }
    FireDnsLookupDone(err);
}

void TCustomWSocket::DnsLookup(const QByteArray &HostName)
{
    if (HostName.isEmpty()) {
        ReportError("DNS lookup: invalid host name.");
        FireDnsLookupDone(SocketError::InvalidArgument);
        return;
    }
    if (m_dnsLookupHandle != 0)
        CancelDnsLookup();
    m_dnsResult.clear();
    m_dnsResultList.clear();
    if (IsDottedIP(HostName)) {
        try {
            m_dnsResult = WSocketAddrToText(WSocketResolveHostUncounted(HostName));
            m_dnsResultList.append(m_dnsResult);
            FireDnsLookupDone(0);
            return;
        } catch (const ESocketException &) {
            // not a usable address after all: let the resolver answer
        }
    }
    if (!m_window) {
        ReportError("DnsLookup: Window not assigned");
        return;
    }
    startLookup(HostName.trimmed(), false);
}

void TCustomWSocket::ReverseDnsLookup(const QByteArray &HostAddr)
{
    if (HostAddr.isEmpty() || HostAddr.size() > 256) {
        ReportError("ReverseDnsLookup: Invalid host name.");
        FireDnsLookupDone(SocketError::InvalidArgument);
        return;
    }
    if (m_dnsLookupHandle != 0)
        CancelDnsLookup();
    m_dnsResult.clear();
    m_dnsResultList.clear();
    if (!m_window) {
        ReportError("ReverseDnsLookup: Window not assigned");
        return;
    }
    startLookup(HostAddr, true);
}

void TCustomWSocket::CancelDnsLookup()
{
    if (m_dnsLookupHandle == 0)
        return;
    if (m_dnsRequest) {
        std::lock_guard guard(m_dnsRequest->Lock);
        m_dnsRequest->Target = nullptr;
    }
    m_dnsRequest.reset();
    m_dnsLookupHandle = 0;
    if (!m_destroying)
        FireDnsLookupDone(SocketError::Interrupted);
}
