#include "SerialError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <netdb.h>

namespace kztr {
namespace {

// The rates a baud fault can name as asked for, by their index + 1.
constexpr int kRates[] = {9600,   19200,  38400,  57600,  115200,
                          230400, 460800, 500000, 921600, 1000000};
constexpr int kRateShift = 26;
constexpr uint32_t kTakenMask = (1u << kRateShift) - 1;

const char* lookupName(int eai) {
    switch (eai) {
    case EAI_NONAME:
        return "EAI_NONAME";
    case EAI_AGAIN:
        return "EAI_AGAIN";
    case EAI_FAIL:
        return "EAI_FAIL";
    case EAI_NODATA:
        return "EAI_NODATA";
    case EAI_ADDRFAMILY:
        return "EAI_ADDRFAMILY";
    case EAI_FAMILY:
        return "EAI_FAMILY";
    case EAI_SERVICE:
        return "EAI_SERVICE";
    case EAI_MEMORY:
        return "EAI_MEMORY";
    default:
        return nullptr;
    }
}

// What the operator can do about an errno, by its meaning.
struct Hint {
    SerialError code;
    const char* text;
};
constexpr Hint kHints[] = {
    {SerialError::PermissionDenied, "the user may not open this serial port; add it to the "
                                    "dialout group (sudo usermod -aG dialout $USER) and log in "
                                    "again"},
    {SerialError::Busy, "the port is in exclusive use by another program"},
    {SerialError::NotATerminal, "not a serial device"},
    {SerialError::Refused, "is the device server running and the port configured?"},
    {SerialError::Unreachable, "check the address and the network"},
    {SerialError::TimedOut, "no answer in time; is the device (server) switched on and reachable?"},
};

std::string describeFault(int err) {
    if (err >= fault::kBaudBase) {
        const int index = (err - fault::kBaudBase) >> kRateShift;
        std::string text = "device server set " +
                           std::to_string(uint32_t(err - fault::kBaudBase) & kTakenMask) +
                           " baud, not ";
        text += index > 0 ? std::to_string(kRates[index - 1]) : std::string("the rate asked");
        return text + ": check the port's settings on the device server";
    }
    if (err > fault::kLookupBase) {
        const int eai = -(err - fault::kLookupBase);
        std::string text = std::string("name lookup failed: ") + ::gai_strerror(eai);
        if (const char* name = lookupName(eai)) text += std::string(" (") + name + ")";
        return text + ": check the host name and the name server";
    }
    switch (err) {
    case fault::kClosed:
        return "the device server closed the connection: is the line in use by another "
               "client, or did the server restart?";
    case fault::kFlood:
        return "the device server sends data without pause: link dropped; check what else "
               "talks on the line";
    case fault::kEndlessSub:
        return "the device server sent a telnet subnegotiation that never ends: link dropped";
    case fault::kBinaryRefused:
        return "the device server refuses telnet binary mode, which would change 0x0D bytes: "
               "enable RFC 2217 binary mode on the server";
    default:
        return "unknown fault " + std::to_string(err);
    }
}

} // namespace

int lookupFault(int eaiCode) {
    return fault::kLookupBase + (eaiCode < 0 ? -eaiCode : eaiCode);
}

int baudFault(uint32_t taken, int asked) {
    int index = 0;
    for (int i = 0; i < int(std::size(kRates)); ++i)
        if (kRates[i] == asked) index = i + 1;
    return fault::kBaudBase + (index << kRateShift) + int(std::min(taken, kTakenMask));
}

SerialError classifyErrno(int err) {
    if (err >= fault::kBaudBase) return SerialError::ServerFault;
    if (err > fault::kLookupBase) return SerialError::NameUnknown;
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
    case ECONNREFUSED:
        return SerialError::Refused;
    case EHOSTUNREACH:
    case ENETUNREACH:
    case EHOSTDOWN:
    case ENETDOWN:
        return SerialError::Unreachable;
    case ECONNRESET:
    case ECONNABORTED:
    case EPIPE:
        return SerialError::Reset;
    case fault::kClosed:
        return SerialError::Closed;
    case fault::kFlood:
    case fault::kEndlessSub:
    case fault::kBinaryRefused:
        return SerialError::ServerFault;
    default:
        return SerialError::Other;
    }
}

std::string describeErrno(int err) {
    if (err > fault::kBase) return describeFault(err);
    std::string text = std::strerror(err);
    const char* name = strerrorname_np(err);
    if (name) text += std::string(" (") + name + ")";
    for (const Hint& hint : kHints)
        if (hint.code == classifyErrno(err)) text += std::string(": ") + hint.text;
    return text;
}

} // namespace kztr
