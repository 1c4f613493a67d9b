#pragma once
// The one place where system error numbers of the serial layer become meaning: a small
// code for decisions and a readable text for the trace. Nothing here throws.
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
    Other,
};

SerialError classifyErrno(int err);

// "permission denied (EACCES): ..." with a hint where the operator can act.
std::string describeErrno(int err);

} // namespace kztr
