#include "engine/Datagram.h"

#include <chrono>
#include <cstring>
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

char upperAsciiChar(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The bytes of a datagram that count: up to the first zero byte. -1 when it is too long or
// too short to be one.
qsizetype frameLength(QByteArrayView datagram)
{
    if (datagram.size() > Datagram::kMaxSize || datagram.size() < 10)
        return -1;
    const auto *zero = static_cast<const char *>(memchr(datagram.data(), '\0', datagram.size()));
    const qsizetype length = zero ? zero - datagram.data() : datagram.size();
    return length < 10 ? -1 : length;
}

// Hands the complete, non-empty fields from position 12 on, at most maxFields of them.
template <typename Field>
void eachField(const char *data, qsizetype length, int maxFields, Field &&field)
{
    qsizetype pos = 11; // position 12 counted from 1
    for (int taken = 0; pos < length && taken < maxFields; ++taken) {
        const char *end = static_cast<const char *>(memchr(data + pos, '|', length - pos));
        if (!end || end == data + pos)
            break; // no closing separator, or an empty field: the cutting ends
        const qsizetype fieldEnd = end - data;
        field(QByteArrayView(data + pos, fieldEnd - pos));
        pos = fieldEnd + 1;
    }
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
    for (char &c : text)
        c = upperAsciiChar(c);
    return text;
}

std::optional<Parts> cut(const QByteArray &datagram, int maxFields)
{
    const qsizetype length = frameLength(datagram);
    if (length < 0)
        return std::nullopt;
    Parts parts;
    parts.id = datagram.left(6);
    parts.command = upperAscii(datagram.mid(7, 3));
    eachField(datagram.constData(), length, maxFields,
              [&parts](QByteArrayView field) { parts.fields.append(field.toByteArray()); });
    return parts;
}

std::optional<PartsView> cutView(QByteArrayView datagram, int maxFields)
{
    const qsizetype length = frameLength(datagram);
    if (length < 0)
        return std::nullopt;
    PartsView parts;
    const char *data = datagram.data();
    parts.id = QByteArrayView(data, 6);
    for (int i = 0; i < 3; ++i)
        parts.commandBytes[i] = upperAsciiChar(data[7 + i]);
    eachField(data, length, maxFields,
              [&parts](QByteArrayView field) { parts.fields.append(field); });
    return parts;
}

} // namespace Datagram
