#include "SerialDevices.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <filesystem>
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

class QtSerialDeviceLister final : public SerialDeviceLister {
public:
    std::vector<SerialDevice> list() override {
        std::vector<SerialDevice> devices;
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
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
