#include "engine/Datagram.h"

#include <chrono>
#include <mutex>
#include <random>

namespace {

// One generator for the process, so that a seed set by a test holds for every engine; the
// engines of one process may run on threads of their own, so every draw takes the lock.
std::mutex g_generatorLock;

std::mt19937_64 &generator()
{
    // Seeded once per process from the system's entropy and the clock, so two copies
    // started in the same second still draw different identifiers.
    static std::mt19937_64 engine([] {
        std::random_device device;
        const auto now =
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        std::seed_seq seq{device(), device(), static_cast<unsigned>(now),
                          static_cast<unsigned>(now >> 32)};
        return std::mt19937_64(seq);
    }());
    return engine;
}

QByteArray withPrefix(const char *command, qsizetype restSize)
{
    QByteArray datagram = Datagram::NewPacketId();
    datagram.reserve(7 + 4 + restSize);
    datagram.append(command);
    return datagram;
}

QByteArray ack(const char *subKind, const QByteArray &channel, const QByteArray &user)
{
    QByteArray datagram = withPrefix("ACK|", 4 + channel.size() + user.size() + 2);
    datagram.append(subKind).append('|').append(channel).append('|').append(user).append('|');
    return datagram;
}

} // namespace

namespace Datagram {

QByteArray NewPacketId()
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::uniform_int_distribution<std::uint32_t> uniform(0, 0xFFFFFF);
    std::uint32_t value = 0;
    {
        const std::lock_guard lock(g_generatorLock);
        value = uniform(generator());
    }
    QByteArray id(7, '|');
    for (int i = 5; i >= 0; --i) {
        id[i] = kHex[value & 0xF];
        value >>= 4;
    }
    return id;
}

void seedPacketIds(std::uint64_t seed)
{
    const std::lock_guard lock(g_generatorLock);
    generator().seed(seed);
}

QByteArray announcement(const QByteArray &channel, const QByteArray &user)
{
    return ack("BCT", channel, user);
}

QByteArray answer(const QByteArray &channel, const QByteArray &user)
{
    return ack("DCT", channel, user);
}

QByteArray keepAlive(const QByteArray &channel)
{
    QByteArray datagram = withPrefix("ALV|", channel.size() + 1);
    datagram.append(channel).append('|');
    return datagram;
}

QByteArray leaveNotice()
{
    return withPrefix("EXT", 0);
}

QByteArray messageBody(const QByteArray &text)
{
    qsizetype length = qMin(text.size(), kMaxMessageText);
    // Do not leave half of a CR LF pair (a typed "|") at the end of a cut text.
    if (length < text.size() && length > 0 && text.at(length - 1) == '\r' &&
        text.at(length) == '\n')
        --length;
    QByteArray body;
    body.reserve(length + 5);
    body.append("MSG|").append(text.constData(), length).append('|');
    return body;
}

QByteArray upperAscii(QByteArray text)
{
    for (char &c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::optional<Parts> cut(const QByteArray &datagram, int maxFields)
{
    if (datagram.size() > kMaxSize)
        return std::nullopt;
    const qsizetype zero = datagram.indexOf('\0');
    const qsizetype length = zero < 0 ? datagram.size() : zero;
    if (length < 10)
        return std::nullopt;

    Parts parts;
    parts.id = datagram.left(6);
    parts.command = upperAscii(datagram.mid(7, 3));
    const char *data = datagram.constData();
    qsizetype pos = 11; // position 12 counted from 1
    while (pos < length && parts.fields.size() < maxFields) {
        const char *end = static_cast<const char *>(memchr(data + pos, '|', length - pos));
        if (!end || end == data + pos)
            break; // no closing separator, or an empty field: the cutting ends
        const qsizetype fieldEnd = end - data;
        parts.fields.append(QByteArray(data + pos, fieldEnd - pos));
        pos = fieldEnd + 1;
    }
    return parts;
}

} // namespace Datagram
