#pragma once
// Where COM<n> lives on this machine. With RZ8_PORT_DIR set: $RZ8_PORT_DIR/COM<n>
// (simulated controllers, tests). Otherwise USB serial adapters: COM<n> is
// /dev/ttyUSB<n-1>, unless RZ8_PORT_MAP names another device for that number,
// e.g. RZ8_PORT_MAP="1=/dev/ttyS0,2=/dev/ttyACM0".
#include <string>

namespace kztr {

// Controllers are searched for on COM1 to COM15.
constexpr int kFirstControllerCom = 1;
constexpr int kLastControllerCom = 15;

// Empty when n cannot name a port (below 1).
std::string devicePathForCom(int comNumber);

} // namespace kztr
