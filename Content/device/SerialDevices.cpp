#include "SerialDevices.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace kztr {
namespace {

namespace fs = std::filesystem;

std::string linkIn(const std::string& dir, const fs::path& device) {
    std::error_code ec;
    std::vector<fs::path> links;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_symlink(ec)) links.push_back(it->path());
    std::sort(links.begin(), links.end());
    for (const fs::path& link : links) {
        std::error_code linkEc;
        const fs::path target = fs::canonical(link, linkEc);
        if (!linkEc && target == device) return link.string();
    }
    return {};
}

std::string activeConsoles() {
    std::ifstream in("/sys/class/tty/console/active");
    std::string text;
    std::getline(in, text);
    return text;
}

// The kernel name split into its text and its trailing number (-1 when none).
std::pair<std::string, long> nameAndNumber(const std::string& kernelName) {
    size_t digits = kernelName.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(kernelName[digits - 1])))
        --digits;
    if (digits == kernelName.size() || kernelName.size() - digits > 9) return {kernelName, -1};
    return {kernelName.substr(0, digits), std::stol(kernelName.substr(digits))};
}

class QtSerialDeviceLister final : public SerialDeviceLister {
public:
    std::vector<SerialDevice> list() override {
        std::vector<SerialDevice> devices;
        const std::string consoles = activeConsoles();
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
            if (isConsolePort(info.systemLocation().toStdString(), consoles)) continue;
            SerialDevice d;
            d.kernelName = info.systemLocation().toStdString();
            d.stableName = stableSerialName(d.kernelName);
            d.maker = info.manufacturer().toStdString();
            d.product = info.description().toStdString();
            d.serialNumber = info.serialNumber().toStdString();
            d.usb = info.hasVendorIdentifier();
            devices.push_back(std::move(d));
        }
        std::sort(devices.begin(), devices.end(), [](const SerialDevice& a, const SerialDevice& b) {
            return a.kernelName < b.kernelName;
        });
        return devices;
    }
};

} // namespace

std::string SerialDevice::description() const {
    std::string text;
    for (const std::string* part : {&maker, &product}) {
        if (part->empty()) continue;
        if (!text.empty()) text += ' ';
        text += *part;
    }
    if (!serialNumber.empty()) text += (text.empty() ? "serial " : ", serial ") + serialNumber;
    return text;
}

bool isConsolePort(const std::string& kernelPath, const std::string& consoles) {
    const std::string name = fs::path(kernelPath).filename().string();
    std::istringstream words(consoles);
    std::string word;
    while (words >> word)
        if (word == name) return true;
    return false;
}

bool numberedBefore(const SerialDevice& a, const SerialDevice& b) {
    if (a.usb != b.usb) return !a.usb;
    return nameAndNumber(a.kernelName) < nameAndNumber(b.kernelName);
}

std::unique_ptr<SerialDeviceLister> makeSystemSerialDeviceLister() {
    return std::make_unique<QtSerialDeviceLister>();
}

std::string stableSerialName(const std::string& kernelPath, const std::string& byIdDir,
                             const std::string& byPathDir) {
    std::error_code ec;
    const fs::path device = fs::canonical(kernelPath, ec);
    if (ec) return kernelPath;
    for (const std::string* dir : {&byIdDir, &byPathDir}) {
        std::string link = linkIn(*dir, device);
        if (!link.empty()) return link;
    }
    return kernelPath;
}

} // namespace kztr
