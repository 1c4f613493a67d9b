// COM numbers given to the serial devices found and kept in the per-user ports file,
// through the device-listing seam and a scratch XDG_CONFIG_HOME.
#include "PortMap.h"
#include "PortsFile.h"
#include "ScopedEnv.h"
#include "SerialDevices.h"
#include "TraceCapture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

using kztr::PortsFileEntry;
using kztr::SerialDevice;
using kztr::test::ScopedEnv;

namespace {

class ListedDevices final : public kztr::SerialDeviceLister {
public:
    explicit ListedDevices(std::vector<SerialDevice> d) : m_devices(std::move(d)) {}
    std::vector<SerialDevice> list() override { return m_devices; }

private:
    std::vector<SerialDevice> m_devices;
};

const std::string kById = "/dev/serial/by-id/";
const SerialDevice adapterA{"/dev/ttyUSB0", kById + "usb-FTDI_FT232R_A1-if00-port0", "FTDI",
                            "FT232R USB UART", "A1"};
const SerialDevice adapterB{"/dev/ttyUSB1", kById + "usb-Prolific_PL2303_B2-if00-port0", "Prolific",
                            "USB-Serial Controller", "B2"};
const SerialDevice onBoard{"/dev/ttyS0", "/dev/ttyS0", "", "", "", false};
const SerialDevice secondOnBoard{"/dev/ttyS10", "/dev/serial/by-path/pci-0000:03:00.0", "", "", "",
                                 false};

SerialDevice pluggedAs(SerialDevice d, const std::string& kernelName) {
    d.kernelName = kernelName;
    return d;
}

PortsFileEntry seen(int com, const SerialDevice& d) {
    return {com, d.stableName, d.description()};
}

std::string fullFile() {
    std::string text = "{\"ports\": [";
    for (int n = 1; n <= 15; ++n)
        text += (n > 1 ? "," : "") + std::string("{\"com\": ") + std::to_string(n) +
                ", \"target\": \"" + kById + "old-" + std::to_string(n) + "\"}";
    return text + "]}";
}

enum class FileAfter { None, Unchanged, Entries };

struct AssignmentRow {
    const char* name;
    std::optional<std::string> fileBefore; // raw text
    std::vector<std::vector<SerialDevice>> sightings;
    std::optional<std::string> portDir;
    std::optional<std::string> portMap;
    std::map<int, std::string> expected; // COM number -> what it names
    FileAfter fileAfter;
    std::vector<PortsFileEntry> entriesAfter;
    std::string traced; // a fragment of a trace line; empty: no error traced
};
void PrintTo(const AssignmentRow& row, std::ostream* os) {
    *os << row.name;
}

class PortAssignmentTest : public ::testing::TestWithParam<AssignmentRow> {
protected:
    void TearDown() override { kztr::setSerialDeviceLister(nullptr); }
};

TEST_P(PortAssignmentTest, NumbersDevices) {
    const AssignmentRow& row = GetParam();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    ScopedEnv xdg("XDG_CONFIG_HOME", config.path().toStdString());
    ScopedEnv dir("RZ8_PORT_DIR", row.portDir);
    ScopedEnv map("RZ8_PORT_MAP", row.portMap);
    const std::string path = config.path().toStdString() + "/KZTRMaster/KZTRPorts.json";
    ASSERT_EQ(kztr::portsFilePath(), path);
    if (row.fileBefore) {
        ASSERT_TRUE(QDir().mkpath(config.path() + "/KZTRMaster"));
        std::ofstream(path) << *row.fileBefore;
    }

    kztr::test::TraceCapture trace;
    for (const auto& devices : row.sightings) {
        kztr::setSerialDeviceLister(std::make_shared<ListedDevices>(devices));
        kztr::devicePathForCom(1);
    }
    for (const auto& [com, target] : row.expected)
        EXPECT_EQ(kztr::devicePathForCom(com), target) << "COM" << com;

    if (row.traced.empty())
        EXPECT_FALSE(trace.contains("[Error]")) << ::testing::PrintToString(trace.texts());
    else
        EXPECT_TRUE(trace.contains(row.traced)) << ::testing::PrintToString(trace.texts());

    switch (row.fileAfter) {
    case FileAfter::None:
        EXPECT_FALSE(std::filesystem::exists(path));
        break;
    case FileAfter::Unchanged: {
        std::ifstream in(path, std::ios::binary);
        const std::string now((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(now, row.fileBefore.value());
        break;
    }
    case FileAfter::Entries: {
        const kztr::PortsFileRead read = kztr::readPortsFile(path);
        EXPECT_EQ(read.status, kztr::PortsFileRead::Status::Ok) << read.error;
        EXPECT_EQ(read.entries, row.entriesAfter);
        break;
    }
    }
}

const std::optional<std::string> none;

INSTANTIATE_TEST_SUITE_P(
    Ports, PortAssignmentTest,
    ::testing::Values(
        AssignmentRow{"FirstSightTakesComOne",
                      none,
                      {{adapterA}},
                      none,
                      none,
                      {{1, adapterA.stableName}, {2, "/dev/ttyUSB1"}},
                      FileAfter::Entries,
                      {seen(1, adapterA)},
                      ""},
        AssignmentRow{
            "LowestFreeNumber",
            std::string("{\"ports\": [{\"com\": 1, \"target\": \"rfc2217://box:2000\"},"
                        "{\"com\": 3, \"target\": \"/dev/serial/by-id/gone\"}]}"),
            {{adapterB}},
            none,
            none,
            {{1, "rfc2217://box:2000"}, {2, adapterB.stableName}, {3, "/dev/serial/by-id/gone"}},
            FileAfter::Entries,
            {{1, "rfc2217://box:2000", ""}, seen(2, adapterB), {3, "/dev/serial/by-id/gone", ""}},
            ""},
        AssignmentRow{"ReplugKeepsTheNumber",
                      none,
                      {{adapterA},
                       {pluggedAs(adapterB, "/dev/ttyUSB0"), pluggedAs(adapterA, "/dev/ttyACM3")}},
                      none,
                      none,
                      {{1, adapterA.stableName}, {2, adapterB.stableName}},
                      FileAfter::Entries,
                      {seen(1, adapterA), seen(2, adapterB)},
                      ""},
        AssignmentRow{"TwoDevicesAtOnce",
                      none,
                      {{adapterA, adapterB}},
                      none,
                      none,
                      {{1, adapterA.stableName}, {2, adapterB.stableName}, {3, "/dev/ttyUSB2"}},
                      FileAfter::Entries,
                      {seen(1, adapterA), seen(2, adapterB)},
                      ""},
        AssignmentRow{"UnpluggedKeepsItsNumber",
                      none,
                      {{adapterA}, {}},
                      none,
                      none,
                      {{1, adapterA.stableName}},
                      FileAfter::Entries,
                      {seen(1, adapterA)},
                      ""},
        AssignmentRow{"DescriptionUpdated",
                      "{\"ports\": [{\"com\": 4, \"target\": \"" + adapterA.stableName +
                          "\", \"description\": \"old\"}]}",
                      {{adapterA}},
                      none,
                      none,
                      {{4, adapterA.stableName}, {1, ""}},
                      FileAfter::Entries,
                      {seen(4, adapterA)},
                      ""},
        AssignmentRow{"DefaultNotTwice",
                      none,
                      {{pluggedAs(adapterA, "/dev/ttyUSB1")}},
                      none,
                      none,
                      {{1, adapterA.stableName}, {2, ""}},
                      FileAfter::Entries,
                      {{1, adapterA.stableName, adapterA.description()}},
                      ""},
        AssignmentRow{"OnBoardPortNumberedFirst",
                      none,
                      {{adapterA, onBoard}},
                      none,
                      none,
                      {{1, "/dev/ttyS0"}, {2, adapterA.stableName}, {3, "/dev/ttyUSB2"}},
                      FileAfter::Entries,
                      {seen(1, onBoard), seen(2, adapterA)},
                      ""},
        AssignmentRow{
            "NumbersInPortOrder",
            none,
            {{pluggedAs(adapterB, "/dev/ttyUSB10"), pluggedAs(adapterA, "/dev/ttyUSB2"),
              secondOnBoard, onBoard}},
            none,
            none,
            {{1, onBoard.stableName},
             {2, secondOnBoard.stableName},
             {3, adapterA.stableName},
             {4, adapterB.stableName}},
            FileAfter::Entries,
            {seen(1, onBoard), seen(2, secondOnBoard), seen(3, adapterA), seen(4, adapterB)},
            ""},
        AssignmentRow{"OnBoardPortAskedFor",
                      std::string("{\"ports\": [{\"com\": 2, \"target\": \"/dev/ttyS0\"}]}"),
                      {{onBoard, adapterA}},
                      none,
                      none,
                      {{1, adapterA.stableName}, {2, "/dev/ttyS0"}},
                      FileAfter::Entries,
                      {seen(1, adapterA), {2, "/dev/ttyS0", ""}},
                      ""},
        AssignmentRow{"FullFileGivesNoNumber",
                      fullFile(),
                      {{adapterA}},
                      none,
                      none,
                      {{1, kById + "old-1"}, {15, kById + "old-15"}},
                      FileAfter::Unchanged,
                      {},
                      "no free COM number for " + adapterA.stableName},
        AssignmentRow{"DamagedFileLeftAlone",
                      std::string("{\"ports\": [{\"com\": 2,"),
                      {{adapterA, adapterB}},
                      none,
                      none,
                      {{1, adapterA.stableName}, {2, adapterB.stableName}},
                      FileAfter::Unchanged,
                      {},
                      "is damaged (not JSON"},
        AssignmentRow{"NumberTwiceIsDamaged",
                      std::string("{\"ports\": [{\"com\": 2, \"target\": \"/dev/a\"},"
                                  "{\"com\": 2, \"target\": \"/dev/b\"}]}"),
                      {{adapterA}},
                      none,
                      none,
                      {{1, adapterA.stableName}, {2, "/dev/ttyUSB1"}},
                      FileAfter::Unchanged,
                      {},
                      "is damaged (COM2 twice)"},
        AssignmentRow{"BadTargetIsDamaged",
                      std::string("{\"ports\": [{\"com\": 2, \"target\": \"ftp://x:1\"}]}"),
                      {{}},
                      none,
                      none,
                      {{2, "/dev/ttyUSB1"}},
                      FileAfter::Unchanged,
                      {},
                      "is damaged (COM2 without a valid target)"},
        AssignmentRow{"NumberOutOfRangeIsDamaged",
                      std::string("{\"ports\": [{\"com\": 16, \"target\": \"/dev/a\"}]}"),
                      {{}},
                      none,
                      none,
                      {{1, "/dev/ttyUSB0"}},
                      FileAfter::Unchanged,
                      {},
                      "an entry without a COM number from 1 to 15"},
        AssignmentRow{"PortMapOverridesOneNumber",
                      none,
                      {{adapterA, adapterB}},
                      none,
                      std::string("1=tcp://wallbox:2001"),
                      {{1, "tcp://wallbox:2001"}, {2, adapterB.stableName}},
                      FileAfter::Entries,
                      {seen(1, adapterA), seen(2, adapterB)},
                      ""},
        AssignmentRow{"PortDirWins",
                      none,
                      {{adapterA}},
                      std::string("/tmp/ports"),
                      std::string("1=/dev/ttyS0"),
                      {{1, "/tmp/ports/COM1"}, {2, "/tmp/ports/COM2"}},
                      FileAfter::None,
                      {},
                      ""}),
    [](const auto& info) { return std::string(info.param.name); });

class PortEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        kztr::setSerialDeviceLister(std::make_shared<ListedDevices>(
            std::vector<SerialDevice>{pluggedAs(adapterA, "/dev/ttyUSB3")}));
    }
    void TearDown() override { kztr::setSerialDeviceLister(nullptr); }
    std::vector<PortsFileEntry> entries() const {
        const kztr::PortsFileRead read = kztr::readPortsFile(kztr::portsFilePath());
        EXPECT_EQ(read.status, kztr::PortsFileRead::Status::Ok) << read.error;
        return read.entries;
    }

    QTemporaryDir config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.path().toStdString()};
    ScopedEnv dir{"RZ8_PORT_DIR", std::nullopt};
    ScopedEnv map{"RZ8_PORT_MAP", std::nullopt};
};

TEST_F(PortEditTest, SetKeepsTheStableNameAndMovesIt) {
    std::string message;
    ASSERT_EQ(kztr::assignComPort(5, "/dev/ttyUSB3", message), kztr::PortsEdit::Done) << message;
    EXPECT_EQ(message, "COM5 -> " + adapterA.stableName);
    EXPECT_EQ(entries(), (std::vector<PortsFileEntry>{seen(5, adapterA)}));
    EXPECT_EQ(kztr::devicePathForCom(5), adapterA.stableName);
    EXPECT_EQ(kztr::devicePathForCom(1), "/dev/ttyUSB0");

    ASSERT_EQ(kztr::assignComPort(2, adapterA.stableName, message), kztr::PortsEdit::Done);
    EXPECT_EQ(message, "COM2 -> " + adapterA.stableName + " (COM5 freed)");
    ASSERT_EQ(kztr::assignComPort(7, "rfc2217://[fd00::5]:2000", message), kztr::PortsEdit::Done);
    EXPECT_EQ(entries(), (std::vector<PortsFileEntry>{seen(2, adapterA),
                                                      {7, "rfc2217://[fd00::5]:2000", ""}}));
    EXPECT_EQ(kztr::portTargetForCom(7)->port, 2000);

    ASSERT_EQ(kztr::forgetComPort(7, message), kztr::PortsEdit::Done);
    EXPECT_EQ(message, "COM7 is free");
    EXPECT_EQ(entries(), (std::vector<PortsFileEntry>{seen(2, adapterA)}));
    EXPECT_EQ(kztr::devicePathForCom(7), "/dev/ttyUSB6");
}

TEST_F(PortEditTest, RefusesWhatCannotBeAPort) {
    for (const std::string target : {"ttyUSB0", "ftp://box:1", "tcp://box", ""}) {
        std::string message;
        EXPECT_EQ(kztr::assignComPort(3, target, message), kztr::PortsEdit::Refused) << target;
        EXPECT_FALSE(message.empty());
    }
    std::string message;
    EXPECT_EQ(kztr::assignComPort(16, "/dev/ttyS0", message), kztr::PortsEdit::Refused);
    EXPECT_FALSE(std::filesystem::exists(kztr::portsFilePath()));
}

TEST_F(PortEditTest, DamagedFileIsRefusedAndLeftAlone) {
    const std::string path = kztr::portsFilePath();
    ASSERT_TRUE(QDir().mkpath(config.path() + "/KZTRMaster"));
    const std::string damaged = "{\"ports\": 3}";
    std::ofstream(path) << damaged;
    std::string message;
    EXPECT_EQ(kztr::assignComPort(3, "/dev/ttyS0", message), kztr::PortsEdit::Refused);
    EXPECT_NE(message.find("is damaged (no \"ports\" list)"), std::string::npos) << message;
    EXPECT_EQ(kztr::forgetComPort(3, message), kztr::PortsEdit::Refused);
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), damaged);
}

// The stable name is the by-id link, else the by-path link, else the kernel name.
TEST(StableSerialName, PrefersByIdThenByPath) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    namespace fs = std::filesystem;
    const fs::path base = root.path().toStdString();
    for (const char* d : {"dev", "by-id", "by-path"})
        fs::create_directories(base / d);
    for (const char* tty : {"ttyUSB0", "ttyUSB1", "ttyS0"})
        std::ofstream(base / "dev" / tty) << "";
    fs::create_symlink("../dev/ttyUSB0", base / "by-id" / "usb-FTDI_A1-if00-port0");
    fs::create_symlink("../dev/ttyUSB0", base / "by-path" / "pci-0000:00:14.0-usb-0:1:1.0-port0");
    fs::create_symlink("../dev/ttyUSB1", base / "by-path" / "pci-0000:00:14.0-usb-0:2:1.0-port0");
    fs::create_symlink("../dev/ttyUSB1", base / "by-path" / "pci-0000:00:14.0-usb-0:2:1.0-port1");
    const std::string byId = (base / "by-id").string(), byPath = (base / "by-path").string();
    const auto stable = [&](const char* tty) {
        return kztr::stableSerialName((base / "dev" / tty).string(), byId, byPath);
    };
    EXPECT_EQ(stable("ttyUSB0"), byId + "/usb-FTDI_A1-if00-port0");
    EXPECT_EQ(stable("ttyUSB1"), byPath + "/pci-0000:00:14.0-usb-0:2:1.0-port0");
    EXPECT_EQ(stable("ttyS0"), (base / "dev" / "ttyS0").string());
    EXPECT_EQ(stable("ttyUSB9"), (base / "dev" / "ttyUSB9").string());
}

TEST(SerialConsole, TheConsolesPortsAreKnownByName) {
    const struct {
        const char* device;
        const char* consoles;
        bool console;
    } rows[] = {
        {"/dev/ttyS0", "tty0 ttyS0", true},  {"/dev/ttyS0", "ttyS0", true},
        {"/dev/ttyS1", "tty0 ttyS0", false}, {"/dev/ttyS1", "ttyS10", false},
        {"/dev/ttyUSB0", "", false},         {"/dev/ttyUSB0", "tty0 ttyUSB0", true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(kztr::isConsolePort(row.device, row.consoles), row.console)
            << row.device << " among \"" << row.consoles << "\"";
}

TEST(SerialDeviceDescription, NamesWhatIsKnown) {
    EXPECT_EQ(adapterA.description(), "FTDI FT232R USB UART, serial A1");
    EXPECT_EQ((SerialDevice{"/dev/ttyS0", "/dev/ttyS0", "", "", ""}).description(), "");
    EXPECT_EQ((SerialDevice{"/dev/ttyACM0", "x", "", "", "7"}).description(), "serial 7");
}

} // namespace
