#pragma once
// The one place where system error numbers of the serial layer become meaning: a small
// code for decisions and a readable text for the trace. Nothing here throws.
//
// Besides errno values, the error number of a port may be one of the faults below, which
// no errno names (a host name that does not resolve, a device server breaking the
// protocol); they lie above every errno, so one int carries either.
#include <cstdint>
#include <string>

namespace kztr {

enum class SerialError {
    None,
    NotFound,         // no such device
    PermissionDenied, // device exists, user may not open it
    Busy,             // in exclusive use by someone else
    NotATerminal,     // the path is not a serial device
    Unsupported,      // the line settings were refused
    TimedOut,
    Io,
    NameUnknown, // a network port's host name does not resolve
    Refused,     // nothing listens at a network port's address
    Unreachable, // no route to a network port's host
    Closed,      // the device server ended the connection in order
    Reset,       // the connection was reset
    ServerFault, // the device server broke the protocol or took other line settings
    Other,
};

namespace fault {
constexpr int kBase = 1 << 16;
constexpr int kClosed = kBase + 1;         // end of stream from the server
constexpr int kFlood = kBase + 2;          // more unread input than any reply needs
constexpr int kEndlessSub = kBase + 3;     // a subnegotiation that never ends
constexpr int kBinaryRefused = kBase + 4;  // the server refuses telnet binary mode
constexpr int kLookupBase = kBase + 0x100; // + -EAI_* of a failed name lookup
constexpr int kBaudBase = 1 << 30;         // see baudTaken
} // namespace fault

// The error number of a failed name lookup (getaddrinfo's result, not EAI_SYSTEM).
int lookupFault(int eaiCode);
// The error number of a device server that set baud rate 'taken' instead of 'asked'
// (one of the serial rates this system uses; 0 when it is none of them).
int baudFault(uint32_t taken, int asked);

SerialError classifyErrno(int err);

// "permission denied (EACCES): ..." with a hint where the operator can act.
std::string describeErrno(int err);

} // namespace kztr
