#pragma once

#include <QByteArray>
#include <functional>
#include <optional>

/// The computer's network name, as the default user name needs it.
class ComputerName final
{
public:
    /// Longest name that counts as readable; a longer one is a failure, as on systems whose
    /// name buffer holds 15 characters and the terminating zero.
    static constexpr int MaxLength = 15;

    /// Where the raw host name comes from: the system's, or a stand-in; nullopt is a failure.
    using Source = std::function<std::optional<QByteArray>()>;

    /// The host name up to its first dot, or nullopt when it cannot be read, is empty or is
    /// longer than MaxLength.
    static std::optional<QByteArray> read();

    /// Replaces the system's host name as the source (tests); an empty function restores it.
    static void setSource(Source source);

private:
    static std::optional<QByteArray> systemHostName();
};
