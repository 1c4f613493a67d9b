#pragma once
// The serial devices present on this machine, behind a seam so that the COM-number
// assignment can be tested without hardware.
#include <memory>
#include <string>
#include <vector>

namespace kztr {

struct SerialDevice {
    std::string kernelName; // e.g. /dev/ttyUSB0; changes with the plugging order
    std::string stableName; // /dev/serial/by-id/..., else by-path, else the kernel name
    std::string maker;
    std::string product;
    std::string serialNumber;
    // A USB adapter (ttyUSB, ttyACM); otherwise an on-board port with a UART behind it.
    bool usb = true;

    // Maker, product and serial number, as far as known, for the ports file and listing.
    std::string description() const;
    bool operator==(const SerialDevice& o) const {
        return kernelName == o.kernelName && stableName == o.stableName && maker == o.maker &&
               product == o.product && serialNumber == o.serialNumber && usb == o.usb;
    }
};

class SerialDeviceLister {
public:
    virtual ~SerialDeviceLister() = default;
    virtual std::vector<SerialDevice> list() = 0;
};

// USB adapters (ttyUSB, ttyACM) and on-board ports with a UART behind them, as Qt Serial
// Port finds them, without the ports that carry the system console.
std::unique_ptr<SerialDeviceLister> makeSystemSerialDeviceLister();

// Whether kernelPath (/dev/ttyS0) is one of the consoles named in consoles, the text of
// /sys/class/tty/console/active ("tty0 ttyS0"). Setting a controller's line settings on
// it would garble the kernel's messages and the logins there.
bool isConsolePort(const std::string& kernelPath, const std::string& consoles);

// The order in which devices seen for the first time get their COM numbers: on-board
// ports first (COM1 is the PC's own port, as its firmware labels it), then the adapters,
// each by kernel name with numbers compared as numbers (ttyS2 before ttyS10).
bool numberedBefore(const SerialDevice& a, const SerialDevice& b);

// The link in byIdDir, else in byPathDir, that resolves to kernelPath (the first by name
// when there are several); kernelPath itself when none does.
std::string stableSerialName(const std::string& kernelPath,
                             const std::string& byIdDir = "/dev/serial/by-id",
                             const std::string& byPathDir = "/dev/serial/by-path");

} // namespace kztr
