#include "SerialError.h"

#include <cerrno>
#include <cstring>

namespace kztr {

SerialError classifyErrno(int err) {
    switch (err) {
    case 0:
        return SerialError::None;
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return SerialError::NotFound;
    case EACCES:
    case EPERM:
        return SerialError::PermissionDenied;
    case EBUSY:
        return SerialError::Busy;
    case ENOTTY:
        return SerialError::NotATerminal;
    case EINVAL:
        return SerialError::Unsupported;
    case ETIMEDOUT:
        return SerialError::TimedOut;
    case EIO:
        return SerialError::Io;
    default:
        return SerialError::Other;
    }
}

std::string describeErrno(int err) {
    std::string text = std::strerror(err);
    const char* name = strerrorname_np(err);
    if (name) text += std::string(" (") + name + ")";
    switch (classifyErrno(err)) {
    case SerialError::PermissionDenied:
        text += ": the user may not open this serial port; add it to the dialout group "
                "(sudo usermod -aG dialout $USER) and log in again";
        break;
    case SerialError::Busy:
        text += ": the port is in exclusive use by another program";
        break;
    case SerialError::NotATerminal:
        text += ": not a serial device";
        break;
    default:
        break;
    }
    return text;
}

} // namespace kztr
