#include "PortMap.h"

#include "DebugTrace.h"
#include "PortTarget.h"
#include "PortsFile.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <sstream>

namespace kztr {
namespace {

// The device RZ8_PORT_MAP assigns to comNumber, or empty. Malformed entries are
// traced and skipped, so one typo does not hide the other entries.
std::string mappedPath(const char* map, int comNumber) {
    std::istringstream entries(map);
    std::string entry;
    std::string found;
    while (std::getline(entries, entry, ',')) {
        if (entry.empty()) continue;
        const auto eq = entry.find('=');
        char* end = nullptr;
        const long n = eq == std::string::npos ? 0 : std::strtol(entry.c_str(), &end, 10);
        if (eq == std::string::npos || end != entry.c_str() + eq || n < 1 ||
            eq + 1 >= entry.size() || !parsePortTarget(entry.substr(eq + 1))) {
            RZ8_TRACE("[D][Error]RZ8_PORT_MAP entry \"%s\" ignored (expected n=/dev/path, "
                      "n=rfc2217://host:port or n=tcp://host:port)\n",
                      entry.c_str());
            continue;
        }
        if (n == comNumber) found = entry.substr(eq + 1);
    }
    return found;
}

const char* portDir() {
    const char* dir = std::getenv("RZ8_PORT_DIR");
    return dir && *dir ? dir : nullptr;
}

std::string defaultPath(int comNumber) {
    return "/dev/ttyUSB" + std::to_string(comNumber - 1);
}

// The devices found and the numbers they hold, the ports file's and the new ones.
struct Discovery {
    std::string filePath;
    std::vector<SerialDevice> devices;
    std::map<int, PortsFileEntry> assigned;
    bool damaged = false;
    std::vector<std::string> notes;
    std::chrono::steady_clock::time_point when;

    const SerialDevice* deviceFor(const std::string& target) const {
        for (const SerialDevice& d : devices)
            if (d.stableName == target || d.kernelName == target) return &d;
        return nullptr;
    }
    bool taken(const std::string& target) const {
        if (deviceFor(target)) return true;
        for (const auto& [com, e] : assigned)
            if (e.target == target) return true;
        return false;
    }
};

Discovery discover(SerialDeviceLister& lister, const std::string& filePath) {
    Discovery d;
    d.filePath = filePath;
    d.when = std::chrono::steady_clock::now();
    d.devices = lister.list();
    const PortsFileRead file = readPortsFile(filePath);
    d.damaged = file.status == PortsFileRead::Status::Damaged;
    if (d.damaged)
        d.notes.push_back("the ports file " + filePath + " is damaged (" + file.error +
                          "); it is left as it is and the COM numbers come from the devices "
                          "found alone");
    for (const PortsFileEntry& e : file.entries)
        d.assigned[e.com] = e;

    bool changed = false;
    std::vector<SerialDevice> inNumberOrder = d.devices;
    std::stable_sort(inNumberOrder.begin(), inNumberOrder.end(), numberedBefore);
    for (const SerialDevice& device : inNumberOrder) {
        PortsFileEntry* held = nullptr;
        for (auto& [com, e] : d.assigned)
            if (e.target == device.stableName || e.target == device.kernelName) held = &e;
        if (held) {
            if (held->description != device.description()) {
                held->description = device.description();
                changed = true;
            }
            continue;
        }
        int free = kFirstControllerCom;
        while (free <= kLastControllerCom && d.assigned.count(free))
            ++free;
        if (free > kLastControllerCom) {
            d.notes.push_back("no free COM number for " + device.stableName +
                              ": COM1 to COM15 are all taken; free one with kztrctl ports forget");
            continue;
        }
        d.assigned[free] = {free, device.stableName, device.description()};
        changed = true;
    }
    if (changed && !d.damaged) {
        std::vector<PortsFileEntry> entries;
        for (const auto& [com, e] : d.assigned)
            entries.push_back(e);
        std::string error;
        if (!writePortsFile(filePath, entries, error))
            d.notes.push_back("the ports file " + filePath + " " + error);
    }
    for (const std::string& note : d.notes)
        RZ8_TRACE("[D][Error]%s\n", note.c_str());
    return d;
}

std::mutex cacheMutex;
std::shared_ptr<SerialDeviceLister> customLister;
std::optional<Discovery> cached;

SerialDeviceLister& lister() {
    static const std::unique_ptr<SerialDeviceLister> system = makeSystemSerialDeviceLister();
    return customLister ? *customLister : *system;
}

// Callers hold cacheMutex.
const Discovery& currentDiscovery(bool afresh) {
    using namespace std::chrono_literals;
    const std::string path = portsFilePath();
    if (afresh || !cached || cached->filePath != path ||
        std::chrono::steady_clock::now() - cached->when > 2s)
        cached = discover(lister(), path);
    return *cached;
}

// What comNumber names after RZ8_PORT_DIR and RZ8_PORT_MAP, from a discovery.
std::string discoveredPath(const Discovery& d, int comNumber) {
    const auto it = d.assigned.find(comNumber);
    if (it != d.assigned.end()) return it->second.target;
    const std::string fallback = defaultPath(comNumber);
    return d.taken(fallback) ? std::string() : fallback;
}

} // namespace

std::string devicePathForCom(int comNumber) {
    if (comNumber < 1) return {};
    if (const char* dir = portDir()) return std::string(dir) + "/COM" + std::to_string(comNumber);
    const char* map = std::getenv("RZ8_PORT_MAP");
    if (map && *map) {
        std::string path = mappedPath(map, comNumber);
        if (!path.empty()) return path;
    }
    std::lock_guard<std::mutex> lock(cacheMutex);
    return discoveredPath(currentDiscovery(false), comNumber);
}

std::optional<PortTarget> portTargetForCom(int comNumber) {
    return parsePortTarget(devicePathForCom(comNumber));
}

void setSerialDeviceLister(std::shared_ptr<SerialDeviceLister> lister) {
    std::lock_guard<std::mutex> lock(cacheMutex);
    customLister = std::move(lister);
    cached.reset();
}

PortsOverview describePorts() {
    PortsOverview overview;
    const char* dir = portDir();
    const char* map = std::getenv("RZ8_PORT_MAP");
    std::lock_guard<std::mutex> lock(cacheMutex);
    std::optional<Discovery> found;
    if (!dir) found = currentDiscovery(true);
    overview.filePath = found ? found->filePath : portsFilePath();
    if (found) {
        overview.fileDamaged = found->damaged;
        overview.notes = found->notes;
    }
    for (int n = kFirstControllerCom; n <= kLastControllerCom; ++n) {
        ComPortView v;
        v.com = n;
        if (dir) {
            v.target = std::string(dir) + "/COM" + std::to_string(n);
            v.origin = ComPortView::Origin::PortDir;
        } else {
            if (found) {
                const auto it = found->assigned.find(n);
                if (it != found->assigned.end()) v.lastSeen = it->second.description;
            }
            const std::string mapped = map && *map ? mappedPath(map, n) : std::string();
            if (!mapped.empty()) {
                v.target = mapped;
                v.origin = ComPortView::Origin::PortMap;
            } else {
                v.target = discoveredPath(*found, n);
                if (found->assigned.count(n))
                    v.origin = ComPortView::Origin::PortsFile;
                else if (!v.target.empty())
                    v.origin = ComPortView::Origin::Default;
            }
            if (const SerialDevice* d = found->deviceFor(v.target)) v.device = *d;
        }
        const auto parsed = parsePortTarget(v.target);
        v.network = parsed && parsed->isNetwork();
        std::error_code ec;
        v.present = !v.target.empty() && !v.network && std::filesystem::exists(v.target, ec);
        overview.ports.push_back(std::move(v));
    }
    return overview;
}

namespace {
// The ports file for an edit; false with the refusal in message when it is damaged: a
// damaged file is the operator's to mend, never rewritten.
bool readEditablePortsFile(const std::string& path, PortsFileRead& file, std::string& message) {
    file = readPortsFile(path);
    if (file.status != PortsFileRead::Status::Damaged) return true;
    message = "the ports file " + path + " is damaged (" + file.error +
              "); it is left as it is, nothing changed";
    return false;
}
} // namespace

PortsEdit assignComPort(int com, const std::string& target, std::string& message) {
    const auto parsed = parsePortTarget(target);
    if (com < kFirstControllerCom || com > kLastControllerCom || !parsed ||
        (!parsed->isNetwork() && target.front() != '/')) {
        message = "COM" + std::to_string(com) + " cannot name \"" + target + "\"";
        return PortsEdit::Refused;
    }
    std::lock_guard<std::mutex> lock(cacheMutex);
    const std::string path = portsFilePath();
    PortsFileRead file;
    if (!readEditablePortsFile(path, file, message)) return PortsEdit::Refused;
    PortsFileEntry entry{com, target, {}};
    if (!parsed->isNetwork()) {
        for (const SerialDevice& d : lister().list())
            if (d.kernelName == target || d.stableName == target) {
                entry.target = d.stableName;
                entry.description = d.description();
            }
    }
    std::vector<PortsFileEntry> entries{entry};
    message = "COM" + std::to_string(com) + " -> " + entry.target;
    for (const PortsFileEntry& e : file.entries) {
        if (e.com == com) continue;
        if (e.target == entry.target) {
            message += " (COM" + std::to_string(e.com) + " freed)";
            continue;
        }
        entries.push_back(e);
    }
    std::string error;
    cached.reset();
    if (!writePortsFile(path, entries, error)) {
        message = "the ports file " + path + " " + error + "; nothing changed";
        return PortsEdit::Refused;
    }
    return PortsEdit::Done;
}

PortsEdit forgetComPort(int com, std::string& message) {
    std::lock_guard<std::mutex> lock(cacheMutex);
    const std::string path = portsFilePath();
    PortsFileRead file;
    if (!readEditablePortsFile(path, file, message)) return PortsEdit::Refused;
    std::vector<PortsFileEntry> entries;
    for (const PortsFileEntry& e : file.entries)
        if (e.com != com) entries.push_back(e);
    if (entries.size() == file.entries.size()) {
        message = "COM" + std::to_string(com) + " was free already";
        return PortsEdit::Done;
    }
    std::string error;
    cached.reset();
    if (!writePortsFile(path, entries, error)) {
        message = "the ports file " + path + " " + error + "; nothing changed";
        return PortsEdit::Refused;
    }
    message = "COM" + std::to_string(com) + " is free";
    return PortsEdit::Done;
}

} // namespace kztr
