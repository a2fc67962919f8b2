#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QVarLengthArray>
#include <cstdint>
#include <optional>

/// Text of the datagrams that copies exchange, and the cutting of a received one.
namespace Datagram {

/// The receiver's buffer; a longer datagram is discarded whole.
inline constexpr qsizetype kMaxSize = 1024;
/// Bytes a message datagram adds to its text: id, separator, "MSG|" and the closing "|".
inline constexpr qsizetype kMessageOverhead = 12;
/// Longest message text that still arrives in one datagram the receiver accepts.
inline constexpr qsizetype kMaxMessageText = kMaxSize - kMessageOverhead;

/// Six random upper-case hexadecimal digits and "|": the prefix of every datagram.
QByteArray NewPacketId();

/// Reseeds the identifier generator (tests); the program seeds it once at start from the
/// clock and the system's entropy.
void seedPacketIds(std::uint64_t seed);

/// prefix + "ACK|BCT|" + channel + "|" + user + "|"
QByteArray announcement(const QByteArray &channel, const QByteArray &user);
/// prefix + "ACK|DCT|" + channel + "|" + user + "|"
QByteArray answer(const QByteArray &channel, const QByteArray &user);
/// prefix + "ALV|" + channel + "|"
QByteArray keepAlive(const QByteArray &channel);
/// prefix + "EXT"
QByteArray leaveNotice();

/// The waiting body of a chat line, "MSG|" + text + "|", without the packet identifier that
/// is put in front when it is sent. The text is cut to kMaxMessageText bytes so the datagram
/// never exceeds what a receiver reads: a longer one would be split by the sender and its
/// tail read by the receiver as a datagram of its own.
QByteArray messageBody(const QByteArray &text);

/// A received datagram cut into its parts.
struct Parts
{
    QByteArray id;            ///< positions 1-6, as received
    QByteArray command;       ///< positions 8-10, ASCII upper-cased
    QList<QByteArray> fields; ///< complete, non-empty fields in order
};

/// Cuts a received datagram: text up to the first zero byte, nothing for fewer than 10
/// bytes (or more than kMaxSize); positions 7 and 11 are not examined; fields stop at an
/// empty field or one without a closing separator, and at most maxFields are taken.
std::optional<Parts> cut(const QByteArray &datagram, int maxFields = 3);

/// The same parts as views of the datagram's bytes, valid while the datagram is: the
/// receive handler reads most parts only once and keeps few of them.
struct PartsView
{
    QByteArrayView id;
    char commandBytes[3]; ///< ASCII upper-cased
    QVarLengthArray<QByteArrayView, 3> fields;

    QByteArrayView command() const { return QByteArrayView(commandBytes, 3); }
};

std::optional<PartsView> cutView(QByteArrayView datagram, int maxFields = 3);

/// ASCII-only upper-casing, independent of the locale.
QByteArray upperAscii(QByteArray text);

} // namespace Datagram
