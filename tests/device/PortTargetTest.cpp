// What a COM number's target text means: device paths and network ports, good and bad.
#include "PortTarget.h"
#include "PortMap.h"
#include "ScopedEnv.h"

#include <gtest/gtest.h>

#include <optional>

using kztr::PortTarget;
using kztr::test::ScopedEnv;
using Kind = PortTarget::Kind;

namespace {

struct TargetRow {
    const char* name;
    std::string text;
    std::optional<PortTarget> expected;
};
void PrintTo(const TargetRow& row, std::ostream* os) {
    *os << row.name;
}

PortTarget device(const std::string& path) {
    return {Kind::Device, path, {}, 0};
}
PortTarget net(Kind kind, const std::string& host, int port) {
    return {kind, {}, host, port};
}

class PortTargetTest : public ::testing::TestWithParam<TargetRow> {};

TEST_P(PortTargetTest, Parses) {
    const TargetRow& row = GetParam();
    const auto got = kztr::parsePortTarget(row.text);
    ASSERT_EQ(got.has_value(), row.expected.has_value()) << row.text;
    if (got) {
        EXPECT_EQ(got->kind, row.expected->kind);
        EXPECT_EQ(got->path, row.expected->path);
        EXPECT_EQ(got->host, row.expected->host);
        EXPECT_EQ(got->port, row.expected->port);
    }
}

const std::optional<PortTarget> bad;

INSTANTIATE_TEST_SUITE_P(
    Forms, PortTargetTest,
    ::testing::Values(
        TargetRow{"DevicePath", "/dev/ttyS0", device("/dev/ttyS0")},
        TargetRow{"RelativeDevicePath", "ports/COM1", device("ports/COM1")},
        TargetRow{"Rfc2217Name", "rfc2217://wallbox:2000", net(Kind::Rfc2217, "wallbox", 2000)},
        TargetRow{"TcpIpv4", "tcp://192.168.1.20:4001", net(Kind::Tcp, "192.168.1.20", 4001)},
        TargetRow{"Ipv6Literal", "rfc2217://[::1]:2000", net(Kind::Rfc2217, "::1", 2000)},
        TargetRow{"Ipv6Full", "tcp://[fd00::5:1]:7", net(Kind::Tcp, "fd00::5:1", 7)},
        TargetRow{"DottedName", "tcp://ser2net.lan:65535", net(Kind::Tcp, "ser2net.lan", 65535)},
        TargetRow{"LowestPort", "tcp://h:1", net(Kind::Tcp, "h", 1)}, TargetRow{"Empty", "", bad},
        TargetRow{"PortZero", "tcp://h:0", bad}, TargetRow{"PortTooHigh", "tcp://h:65536", bad},
        TargetRow{"PortHuge", "tcp://h:99999999999", bad},
        TargetRow{"PortNegative", "tcp://h:-1", bad},
        TargetRow{"PortNotNumber", "tcp://h:http", bad},
        TargetRow{"PortTrailing", "tcp://h:20x", bad},
        TargetRow{"MissingPort", "rfc2217://wallbox", bad},
        TargetRow{"EmptyPort", "rfc2217://wallbox:", bad},
        TargetRow{"EmptyHost", "tcp://:2000", bad},
        TargetRow{"EmptyBrackets", "tcp://[]:2000", bad},
        TargetRow{"NothingAfterScheme", "tcp://", bad},
        TargetRow{"UnbracketedIpv6", "tcp://::1:2000", bad},
        TargetRow{"BracketsWithoutPort", "tcp://[::1]", bad},
        TargetRow{"UnclosedBracket", "tcp://[::1:2000", bad},
        TargetRow{"BracketedIpv4", "tcp://[127.0.0.1]:2000", bad},
        TargetRow{"PathAfterPort", "tcp://h:2000/x", bad},
        TargetRow{"SpaceInHost", "tcp://a b:2000", bad},
        TargetRow{"UnknownScheme", "telnet://h:23", bad},
        TargetRow{"SchemeCase", "TCP://h:23", bad}),
    [](const auto& info) { return std::string(info.param.name); });

struct MapRow {
    const char* name;
    std::optional<std::string> portDir;
    std::string portMap;
    int com;
    std::string expectedText;
    std::optional<PortTarget> expected;
};
void PrintTo(const MapRow& row, std::ostream* os) {
    *os << row.name;
}
class NetworkPortMapTest : public ::testing::TestWithParam<MapRow> {};

TEST_P(NetworkPortMapTest, ResolvesComNumber) {
    const MapRow& row = GetParam();
    ScopedEnv dir("RZ8_PORT_DIR", row.portDir);
    ScopedEnv map("RZ8_PORT_MAP", row.portMap);
    EXPECT_EQ(kztr::devicePathForCom(row.com), row.expectedText);
    const auto got = kztr::portTargetForCom(row.com);
    ASSERT_EQ(got.has_value(), row.expected.has_value());
    if (got) {
        EXPECT_TRUE(*got == *row.expected);
    }
}

const std::optional<std::string> noDir;

INSTANTIATE_TEST_SUITE_P(
    Com, NetworkPortMapTest,
    ::testing::Values(MapRow{"Rfc2217Entry", noDir, "1=/dev/ttyS0,2=rfc2217://wallbox:2000", 2,
                             "rfc2217://wallbox:2000", net(Kind::Rfc2217, "wallbox", 2000)},
                      MapRow{"TcpEntry", noDir, "4=tcp://10.0.0.9:4001", 4, "tcp://10.0.0.9:4001",
                             net(Kind::Tcp, "10.0.0.9", 4001)},
                      MapRow{"Ipv6Entry", noDir, "3=tcp://[::1]:2001", 3, "tcp://[::1]:2001",
                             net(Kind::Tcp, "::1", 2001)},
                      MapRow{"DeviceBesideNetwork", noDir, "1=/dev/ttyS0,2=tcp://h:1", 1,
                             "/dev/ttyS0", device("/dev/ttyS0")},
                      MapRow{"PortDirWins", "/tmp/ports", "3=rfc2217://wallbox:2000", 3,
                             "/tmp/ports/COM3", device("/tmp/ports/COM3")},
                      MapRow{"MalformedNetworkEntrySkipped", noDir, "5=tcp://h,5=/dev/ttyS4", 5,
                             "/dev/ttyS4", device("/dev/ttyS4")},
                      MapRow{"MalformedNetworkEntryNotUsed", noDir, "6=rfc2217://h:0", 6,
                             "/dev/ttyUSB5", device("/dev/ttyUSB5")},
                      MapRow{"UnknownSchemeNotUsed", noDir, "2=ssh://h:22", 2, "/dev/ttyUSB1",
                             device("/dev/ttyUSB1")},
                      MapRow{"ZeroNamesNothing", noDir, "1=tcp://h:1", 0, "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
