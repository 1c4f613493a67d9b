// Controller-side protocol of the simulator, fed bytes directly in virtual time.
#include "SimController.h"
#include "ControllerOption.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using kztr::sim::ControllerConfig;
using kztr::sim::Emission;
using kztr::sim::SimClock;
using kztr::sim::SimController;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes frame(uint8_t code, uint16_t param = 0) {
    RZ8Full r{};
    r.cmd = code;
    r.model = 0x44;
    r.fw_ver = 0x50;
    r.box_id = 1;
    r.setParam(param);
    return Bytes(r.bytes(), r.bytes() + 16);
}

class SimControllerTest : public ::testing::Test {
protected:
    // Feeds bytes at virtual time t; returns what the controller sends, delays included.
    std::vector<Emission> feed(const Bytes& bytes, std::chrono::milliseconds t) {
        std::vector<Emission> out;
        controller.receive(bytes.data(), bytes.size(), SimClock::time_point(t), requests, out);
        return out;
    }

    ControllerConfig config = [] {
        ControllerConfig c;
        c.com = 1;
        c.boxId = 4;
        c.model = 'd';
        c.fwVer = 9;
        return c;
    }();
    SimController controller{config};
    std::vector<Bytes> requests;
};

TEST_F(SimControllerTest, ConfigurationRequestInsideAFrameIsFrameData) {
    Bytes request = frame(0x00);
    request[5] = 0xFF; // 0xFF in the configuration bytes
    request[9] = 0xFF;
    const auto out = feed(request, 0ms);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], request);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].bytes.at(0), 0x00);
    EXPECT_EQ(out[0].bytes.at(9), 0xFF);
}

TEST_F(SimControllerTest, BackToBackRequestsInOneReadAreEachAnswered) {
    Bytes both = {0xFF};
    const Bytes f = frame(0x0E);
    both.insert(both.end(), f.begin(), f.end());
    both.push_back(0xFF);
    const auto out = feed(both, 0ms);
    ASSERT_EQ(requests.size(), 3u);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].bytes.at(0), 0xFF);
    EXPECT_EQ(out[1].bytes.at(0), 0x0E);
    EXPECT_EQ(out[2].bytes.at(0), 0xFF);
}

TEST_F(SimControllerTest, PiecesWithinTheGapMakeOneFrame) {
    const Bytes f = frame(0x04);
    EXPECT_TRUE(feed(Bytes(f.begin(), f.begin() + 7), 0ms).empty());
    const auto out = feed(Bytes(f.begin() + 7, f.end()), 90ms);
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].bytes.at(0), 0x04);
}

TEST_F(SimControllerTest, FragmentOlderThanTheGapIsDropped) {
    const Bytes f = frame(0x04);
    EXPECT_TRUE(feed(Bytes(f.begin(), f.begin() + 7), 0ms).empty());
    EXPECT_TRUE(feed(f, 200ms).size() == 1u);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], f);
}

TEST_F(SimControllerTest, UnknownCommandIsAnsweredWithFE) {
    const auto out = feed(frame(0x02), 0ms);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].bytes.at(0), 0xFE);
    EXPECT_EQ(out[0].bytes.at(1), 'd');
}

TEST_F(SimControllerTest, SplitFaultDelaysTheLastByteThenTheBlockFollows) {
    kztr::sim::Faults faults;
    faults.splitReplies = true;
    faults.splitDelay = 35ms;
    controller.setFaults(faults);
    const auto out = feed(frame(0x27), 0ms);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].bytes.size(), 15u);
    EXPECT_EQ(out[0].delay, 0ms);
    EXPECT_EQ(out[1].bytes.size(), 1u);
    EXPECT_EQ(out[1].delay, 35ms);
    EXPECT_EQ(out[2].bytes.size(), 256u);
}

TEST_F(SimControllerTest, IgnoredConfigurationRequestIsRecordedOnly) {
    kztr::sim::Faults faults;
    faults.ignored = {0xFF};
    controller.setFaults(faults);
    EXPECT_TRUE(feed({0xFF}, 0ms).empty());
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(feed(frame(0x0F), 1ms).size(), 1u);
}

TEST_F(SimControllerTest, PatternResetAndCommitAreTracked) {
    feed(frame(0x0B), 0ms);
    EXPECT_TRUE(controller.state().rgbwOn);
    feed(frame(0x04), 1ms);
    EXPECT_FALSE(controller.state().rgbwOn);
    feed(frame(0x03), 2ms);
    feed(frame(0x01), 3ms);
    feed(frame(0x11), 4ms);
    const auto s = controller.state();
    EXPECT_FALSE(s.patternOn);
    EXPECT_EQ(s.resets, 1);
    EXPECT_EQ(s.pixelCommits, 1);
}

struct OptionRow {
    const char* name;
    const char* text;
    bool valid;
    const char* errorFragment;
};
void PrintTo(const OptionRow& row, std::ostream* os) {
    *os << row.name;
}

class ControllerOptionTest : public ::testing::TestWithParam<OptionRow> {};

TEST_P(ControllerOptionTest, ParsesOrExplains) {
    std::string error;
    const auto config = kztr::sim::parseControllerOption(GetParam().text, error);
    EXPECT_EQ(config.has_value(), GetParam().valid) << error;
    if (!GetParam().valid) {
        EXPECT_NE(error.find(GetParam().errorFragment), std::string::npos) << error;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sim, ControllerOptionTest,
    ::testing::Values(OptionRow{"Minimal", "com=3", true, ""},
                      OptionRow{"Everything",
                                "com=15,box=0xFF,model=i,fw=200,hpixel=3840,vpixel=2160,"
                                "edidflags=0x1a,name=WALL,silent,fe,split=5,edid=stuck,ignore=0x27",
                                true, ""},
                      OptionRow{"ComZero", "com=0", false, "com must be a number from 1"},
                      OptionRow{"TrailingJunk", "com=3x", false, "com must be a number"},
                      OptionRow{"BareHexPrefix", "com=3,box=0x", false, "box must be a number"},
                      OptionRow{"OctalDigits", "com=3,box=09", true, ""},
                      OptionRow{"NameTooLong", "com=3,name=ABCDEFGHIJKLMN", false, "13"},
                      OptionRow{"EdidValue", "com=3,edid=odd", false, "not a known"},
                      OptionRow{"SilentWithValue", "com=3,silent=1", false, "not a known"},
                      OptionRow{"NoCom", "box=1", false, "com=N is required"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ControllerOption, ValuesLandInTheConfiguration) {
    std::string error;
    const auto c = kztr::sim::parseControllerOption(
        "com=5,box=010,model=H,fw=17,hpixel=3840,edidflags=0x18,split=7,edid=broken,ignore=14,"
        "ignore=0x0F",
        error);
    ASSERT_TRUE(c) << error;
    EXPECT_EQ(c->com, 5);
    EXPECT_EQ(c->boxId, 10); // decimal: a leading zero does not mean octal
    EXPECT_EQ(c->model, 'H');
    EXPECT_EQ(c->fwVer, 17);
    EXPECT_EQ(c->hPixel, 3840);
    EXPECT_EQ(c->edidFlags, 0x18);
    EXPECT_TRUE(c->faults.splitReplies);
    EXPECT_EQ(c->faults.splitDelay, 7ms);
    EXPECT_EQ(c->faults.edid, kztr::sim::EdidFault::BrokenUntilRepair);
    EXPECT_EQ(c->faults.ignored, (std::set<uint8_t>{0x0E, 0x0F}));
}

} // namespace
