// COM number to device path.
#include "PortMap.h"
#include "ScopedEnv.h"
#include "SerialDevices.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include <optional>

using kztr::test::ScopedEnv;

namespace {

struct PortMapRow {
    const char* name;
    std::optional<std::string> portDir;
    std::optional<std::string> portMap;
    int com;
    std::string expected;
};
void PrintTo(const PortMapRow& row, std::ostream* os) {
    *os << row.name;
}

// No serial device and no ports file: what the environment alone gives.
class NoDevices final : public kztr::SerialDeviceLister {
public:
    std::vector<kztr::SerialDevice> list() override { return {}; }
};

class PortMapTest : public ::testing::TestWithParam<PortMapRow> {
protected:
    void SetUp() override { kztr::setSerialDeviceLister(std::make_shared<NoDevices>()); }
    void TearDown() override { kztr::setSerialDeviceLister(nullptr); }
    QTemporaryDir config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.path().toStdString()};
};

TEST_P(PortMapTest, ResolvesComNumber) {
    const PortMapRow& row = GetParam();
    ASSERT_TRUE(config.isValid());
    ScopedEnv dir("RZ8_PORT_DIR", row.portDir);
    ScopedEnv map("RZ8_PORT_MAP", row.portMap);
    EXPECT_EQ(kztr::devicePathForCom(row.com), row.expected);
}

const std::optional<std::string> none;

INSTANTIATE_TEST_SUITE_P(
    Com, PortMapTest,
    ::testing::Values(
        PortMapRow{"PortDir", "/tmp/ports", none, 3, "/tmp/ports/COM3"},
        PortMapRow{"PortDirBeatsMap", "/tmp/ports", "3=/dev/ttyS0", 3, "/tmp/ports/COM3"},
        PortMapRow{"EmptyPortDirIgnored", "", none, 2, "/dev/ttyUSB1"},
        PortMapRow{"DefaultFirst", none, none, 1, "/dev/ttyUSB0"},
        PortMapRow{"DefaultFifteenth", none, none, 15, "/dev/ttyUSB14"},
        PortMapRow{"MapEntry", none, "1=/dev/ttyS0,2=/dev/ttyACM0", 2, "/dev/ttyACM0"},
        PortMapRow{"UnmappedFallsBack", none, "1=/dev/ttyS0", 4, "/dev/ttyUSB3"},
        PortMapRow{"MalformedEntrySkipped", none, "x=/dev/a,5=,5,3=/dev/ttyS2", 3, "/dev/ttyS2"},
        PortMapRow{"MalformedEntryNotUsed", none, "5=", 5, "/dev/ttyUSB4"},
        PortMapRow{"ZeroHasNoPath", none, none, 0, ""},
        PortMapRow{"NegativeHasNoPath", "/tmp/ports", none, -1, ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
