#pragma once
// Where COM<n> lives on this machine. With RZ8_PORT_DIR set: $RZ8_PORT_DIR/COM<n>
// (simulated controllers, tests). Otherwise USB serial adapters: COM<n> is
// /dev/ttyUSB<n-1>, unless RZ8_PORT_MAP names another device for that number,
// e.g. RZ8_PORT_MAP="1=/dev/ttyS0,2=/dev/ttyACM0". A number may also name a port on a
// serial device server: "3=rfc2217://wallbox:2000,4=tcp://[fd00::5]:2001".
#include "PortTarget.h"

#include <optional>
#include <string>

namespace kztr {

// Controllers are searched for on COM1 to COM15.
constexpr int kFirstControllerCom = 1;
constexpr int kLastControllerCom = 15;

// Empty when n cannot name a port (below 1). For a network port this is its
// "scheme://host:port" text.
std::string devicePathForCom(int comNumber);
// The same, parsed; empty when n names no port.
std::optional<PortTarget> portTargetForCom(int comNumber);

} // namespace kztr
