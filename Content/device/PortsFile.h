#pragma once
// The per-user ports file: which COM number each serial device (by its stable name) or
// network port keeps, so that a controller keeps its number across replugs and reboots.
// $XDG_CONFIG_HOME/KZTRMaster/KZTRPorts.json (~/.config/KZTRMaster/ by default).
#include <string>
#include <vector>

namespace kztr {

struct PortsFileEntry {
    int com = 0;
    std::string target;      // stable device name, device path or "scheme://host:port"
    std::string description; // the device as last seen; may be empty
    bool operator==(const PortsFileEntry& o) const {
        return com == o.com && target == o.target && description == o.description;
    }
};

struct PortsFileRead {
    enum class Status { Missing, Ok, Damaged };
    Status status = Status::Missing;
    std::vector<PortsFileEntry> entries; // by COM number; empty unless Ok
    std::string error;                   // Damaged: what is wrong, e.g. "COM3 twice"
};

std::string portsFilePath();

// Every entry must have a COM number from 1 to 15 and a target the port parser accepts,
// each number and target once; otherwise the whole file counts as damaged.
PortsFileRead readPortsFile(const std::string& path);

// Replaces the file whole or not at all (its folder made when missing). False with
// error set when it could not be written.
bool writePortsFile(const std::string& path, std::vector<PortsFileEntry> entries,
                    std::string& error);

} // namespace kztr
