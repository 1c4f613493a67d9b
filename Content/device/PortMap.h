#pragma once
// Where COM<n> lives on this machine. With RZ8_PORT_DIR set: $RZ8_PORT_DIR/COM<n>
// (simulated controllers, tests). Otherwise RZ8_PORT_MAP may name the port of single
// numbers, e.g. RZ8_PORT_MAP="1=/dev/ttyS0,2=/dev/ttyACM0", also a port on a serial
// device server: "3=rfc2217://wallbox:2000,4=tcp://[fd00::5]:2001". Every other number
// is what the per-user ports file keeps for it (see PortsFile.h); a USB adapter seen
// for the first time gets the lowest free number there. A number nobody holds is
// /dev/ttyUSB<n-1>, unless that device has a number of its own.
#include "PortTarget.h"
#include "SerialDevices.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kztr {

// Controllers are searched for on COM1 to COM15.
constexpr int kFirstControllerCom = 1;
constexpr int kLastControllerCom = 15;

// Empty when n cannot name a port (below 1, or its device belongs to another number).
// For a network port this is its "scheme://host:port" text. The devices are looked for
// at most once in two seconds, so a search over every number looks once.
std::string devicePathForCom(int comNumber);
// The same, parsed; empty when n names no port.
std::optional<PortTarget> portTargetForCom(int comNumber);

// How serial devices are found (tests); nullptr restores the system's listing. Either
// way the devices are looked for again at the next lookup.
void setSerialDeviceLister(std::shared_ptr<SerialDeviceLister> lister);

struct ComPortView {
    int com = 0;
    std::string target; // empty: the number is free
    enum class Origin { Free, PortDir, PortMap, PortsFile, Default };
    Origin origin = Origin::Free;
    bool network = false;
    bool present = false;               // a device target that exists now
    std::optional<SerialDevice> device; // the listed device it names, when present
    std::string lastSeen;               // the ports file's description
};

struct PortsOverview {
    std::vector<ComPortView> ports; // COM1 to COM15
    std::string filePath;
    bool fileDamaged = false;
    std::vector<std::string> notes; // damaged or full file, a file that cannot be written
};

// What every number names now, after looking for the devices afresh.
PortsOverview describePorts();

enum class PortsEdit { Done, Refused };
// Gives com the target (a device's kernel name is kept as its stable name) and takes it
// from any other number; the ports file is replaced whole or not at all. Refused, with
// the file left as it is, when it is damaged or cannot be written. message says what
// was done or why not.
PortsEdit assignComPort(int com, const std::string& target, std::string& message);
PortsEdit forgetComPort(int com, std::string& message);

} // namespace kztr
