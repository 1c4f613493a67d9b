#include "SimulatedPortsTest.h"

namespace kztr::test {

kztr::sim::ControllerConfig SimController(int com, std::uint8_t box, char model,
                                          std::uint8_t fwVer) {
    kztr::sim::ControllerConfig c;
    c.com = com;
    c.boxId = box;
    c.model = model;
    c.fwVer = fwVer;
    return c;
}

void SimulatedPortsTest::StartSimulator(
    std::initializer_list<kztr::sim::ControllerConfig> controllers) {
    ASSERT_TRUE(dir.isValid());
    for (const kztr::sim::ControllerConfig& c : controllers)
        ASSERT_TRUE(sim.addController(c)) << "COM" << c.com << ": " << sim.error();
    ASSERT_TRUE(sim.start(PortDir().toStdString())) << sim.error();
}

} // namespace kztr::test
