#pragma once

#include <QByteArray>
#include <QList>

/// Constant texts kept in the program only in scrambled form, and the routines that scramble
/// and unscramble them: the bit layout of Base64 over the program's own table of symbols.
namespace CodeCript {

/// The 64 symbols; symbol i stands for the six-bit value i. "=" is not among them: it pads.
inline constexpr char Table[] = "ldY9UPgnjXf03-M4ObFNDJ5V8uv6eLomkWSK_yAEC1wGpiqHQta2zZRhTBcx7Isr";

/// Scrambles the bytes of text up to its first zero byte; four symbols per three bytes,
/// the last group padded with "=".
QByteArray Encode(const QByteArray &text);

/// Unscrambles text up to its first zero byte, group by group of four symbols; trailing
/// symbols that make no full group are ignored and unknown symbols count as -1. Never fails.
QByteArray Decode(const QByteArray &scrambled);

// The constants, scrambled. Decode each at the moment of use; nothing keeps the plain text.

/// Short display name: captions, the inner settings folder, the version section.
inline constexpr char DisplayName[] = "JgIpLAJT";
/// Long title: the user list's hint and the about window's heading.
inline constexpr char ProductTitle[] = "JgIpLAJTjUtdNSd9vgPz";
/// First level of the settings folder.
inline constexpr char OuterFolderName[] = "JgIpLAJTjP-HuEbh8VXy";
/// Name of the channel a fresh installation starts in.
inline constexpr char DefaultChannel[] = "N5P16k==";
/// The maker's web page.
inline constexpr char WebPage[] = "vnbzen3c0aIhLhequVWW6VdpuFBHeAeHLgIpLAJT0Q==";
/// Mail link with one argument (%1): the subject.
inline constexpr char MailTemplate[] = "65P16nbHMAuyu5bS85-GOgJT85ZQ6gDq6hXE4h-Z8A1y8hOIXNU=";
/// Donation page with three arguments (%1, %2, %3).
inline constexpr char DonationTemplate[] =
    "vnbzen3c0aIhLhequVWW6VdpuFBHeAeHLgIpLAJT0RbH6APzuNIQeAI_L5-z4FDtXAPKLgyH6Kzy3Suq6hby4FD2";
/// First information line of the about window.
inline constexpr char InfoLine1[] = "DRJaLAJa6gJ2eadKvgPzjguHeSdB6hJajgtH8RPpjgByLnLHeApq";
/// Second information line of the about window.
inline constexpr char InfoLine2[] = "bEXyuFdz6adZeRDk85B_jnbHjndWeh3k6RTq";

/// Puts args[n - 1] in place of each "%n" (n from 1 to 9 and within args) in one pass, so an
/// argument's own "%" signs are never read as placeholders; other "%" signs stay as they are.
QByteArray fillTemplate(const QByteArray &pattern, const QList<QByteArray> &args);

/// The mail link: MailTemplate with subject, percent-encoded, as its argument.
QByteArray MailLink(const QByteArray &subject);

/// The donation page: DonationTemplate with its three arguments, each percent-encoded.
QByteArray DonationLink(const QByteArray &first, const QByteArray &second, const QByteArray &third);

} // namespace CodeCript
