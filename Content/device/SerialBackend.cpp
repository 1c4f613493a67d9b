#include "SerialBackend.h"

#include "TermiosBackend.h"

#include <mutex>

namespace kztr {
namespace {
std::mutex factoryMutex;
SerialBackendFactory& factory() {
    static SerialBackendFactory f;
    return f;
}
} // namespace

std::unique_ptr<SerialBackend> makeSerialBackend() {
    SerialBackendFactory f;
    {
        std::lock_guard<std::mutex> lock(factoryMutex);
        f = factory();
    }
    if (f) return f();
    return std::make_unique<TermiosBackend>();
}

void setSerialBackendFactory(SerialBackendFactory f) {
    std::lock_guard<std::mutex> lock(factoryMutex);
    factory() = std::move(f);
}

} // namespace kztr
