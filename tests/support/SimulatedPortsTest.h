#pragma once
// Simulated controllers on pseudo-terminals for device tests: a scratch folder whose
// "ports/" holds the COM<n> links, with RZ8_PORT_DIR naming it for the test's life, so the
// real termios code (in-process or in a child program) reaches the controllers.
#include "Rz8Simulator.h"
#include "ScopedEnv.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

namespace kztr::test {

// A controller by the four fields tests tell apart; the rest keep the simulator's defaults.
kztr::sim::ControllerConfig SimController(int com, std::uint8_t box, char model,
                                          std::uint8_t fwVer);

class SimulatedPortsTest : public ::testing::Test {
protected:
    // Adds the controllers and starts serving them. A failure is fatal for the test;
    // called from SetUp it keeps the test body from running.
    void StartSimulator(std::initializer_list<kztr::sim::ControllerConfig> controllers);

    // The folder of the COM<n> links.
    QString PortDir() const { return dir.path() + QStringLiteral("/ports"); }

    // Declared in this order so that the simulator stops before the folder goes.
    QTemporaryDir dir;
    ScopedEnv env{"RZ8_PORT_DIR", PortDir().toStdString()};
    kztr::sim::Rz8Simulator sim;
};

} // namespace kztr::test
