#pragma once

// The socket component's error codes by name; the numbers are those callers, texts and
// peers' reports already carry, so they never change.
//
// 10000 + the BSD errno number for system failures, 11001 to 11004 for resolver failures,
// 12001 for a wait given up, 20001 to 20018 for the SOCKS layer. A system errno without a
// BSD counterpart becomes UnmappedErrnoBase + errno and has no text of its own.
namespace SocketError {

enum Code : int
{
    None = 0,

    Interrupted = 10004,
    BadFile = 10009,
    AccessDenied = 10013,
    BadAddress = 10014,
    InvalidArgument = 10022,
    TooManyOpenFiles = 10024,
    WouldBlock = 10035,
    InProgress = 10036,
    AlreadyInProgress = 10037,
    NotASocket = 10038,
    DestinationRequired = 10039,
    MessageTooLong = 10040,
    WrongProtocolType = 10041,
    ProtocolNotAvailable = 10042,
    ProtocolNotSupported = 10043,
    SocketTypeNotSupported = 10044,
    OperationNotSupported = 10045,
    ProtocolFamilyNotSupported = 10046,
    AddressFamilyNotSupported = 10047,
    AddressInUse = 10048,
    AddressNotAvailable = 10049,
    NetworkDown = 10050,
    NetworkUnreachable = 10051,
    NetworkReset = 10052,
    ConnectionAborted = 10053,
    ConnectionReset = 10054,
    NoBufferSpace = 10055,
    AlreadyConnected = 10056,
    NotConnected = 10057,
    SendAfterShutdown = 10058,
    TooManyReferences = 10059,
    TimedOut = 10060,
    ConnectionRefused = 10061,
    SymbolicLinkLoop = 10062,
    NameTooLong = 10063,
    HostDown = 10064,
    HostUnreachable = 10065,
    DirectoryNotEmpty = 10066,
    TooManyProcesses = 10067,
    TooManyUsers = 10068,
    QuotaExceeded = 10069,
    StaleHandle = 10070,
    RemotePath = 10071,
    SystemNotReady = 10091,
    VersionNotSupported = 10092,
    NotInitialised = 10093,

    HostNotFound = 11001,
    TryAgain = 11002,
    NoRecovery = 11003,
    NoData = 11004,

    /// A synchronous wait ran out of time or was cut short.
    WaitAborted = 12001,

    SocksLogic = 20001,
    SocksVersion = 20002,
    /// Also the base of the SOCKS5 reply codes: 20003 + reply (1 to 8).
    SocksMethodNotAcceptable = 20003,
    SocksConnectionRefused = 20008,
    SocksAddressTypeNotSupported = 20011,
    SocksUnassigned = 20012,
    SocksInternal = 20013,
    SocksAuthenticationFailed = 20015,
    SocksRequestRejected = 20016,
    SocksException = 20017,
    SocksClosedDuringNegotiation = 20018,
};

/// System errno values shared with BSD map to ErrnoBase + errno.
inline constexpr int ErrnoBase = 10000;
inline constexpr int UnmappedErrnoBase = 10200;

} // namespace SocketError
