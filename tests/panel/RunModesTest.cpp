// The executable's run modes: option parsing, simulated controllers on the port map,
// and the picture of the panel written after start-up.
#include "RunModes.h"
#include "PanelTestFrame.h"
#include "ScopedEnv.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <optional>
#include <string>

namespace {

struct OptionCase {
    const char* name;
    QStringList args;
    bool valid;
    int simulateCount;
    const char* screenshot;
    bool connect = false;
};

void PrintTo(const OptionCase& c, std::ostream* os) {
    *os << c.name;
}

class RunOptionsTest : public ::testing::TestWithParam<OptionCase> {};

TEST_P(RunOptionsTest, Parses) {
    const OptionCase& c = GetParam();
    QString error;
    const std::optional<RunOptions> opt =
        ParseRunOptions(QStringList{"KZTRMaster"} + c.args, error);
    ASSERT_EQ(opt.has_value(), c.valid) << qPrintable(error);
    if (!c.valid) {
        EXPECT_FALSE(error.isEmpty());
        return;
    }
    EXPECT_EQ(opt->simulateCount, c.simulateCount);
    EXPECT_EQ(opt->screenshotFile, c.screenshot);
    EXPECT_EQ(opt->connect, c.connect);
}

INSTANTIATE_TEST_SUITE_P(
    Args, RunOptionsTest,
    ::testing::Values(OptionCase{"None", {}, true, 0, ""},
                      OptionCase{"SimulateThreeByDefault", {"--simulate"}, true, 3, ""},
                      OptionCase{"SimulateCount", {"--simulate=5"}, true, 5, ""},
                      OptionCase{"SimulateAllFifteen", {"--simulate=15"}, true, 15, ""},
                      OptionCase{"SimulateZero", {"--simulate=0"}, false, 0, ""},
                      OptionCase{"SimulateSixteen", {"--simulate=16"}, false, 0, ""},
                      OptionCase{"SimulateWord", {"--simulate=many"}, false, 0, ""},
                      OptionCase{"Screenshot", {"--screenshot", "p.png"}, true, 0, "p.png"},
                      OptionCase{"Both", {"--simulate", "--screenshot", "p.png"}, true, 3, "p.png"},
                      OptionCase{"ScreenshotWithoutFile", {"--screenshot"}, false, 0, ""},
                      OptionCase{"Connect", {"--connect"}, true, 0, "", true},
                      OptionCase{"ConnectAndPicture",
                                 {"--simulate", "--connect", "--screenshot", "p.png"},
                                 true,
                                 3,
                                 "p.png",
                                 true},
                      OptionCase{"Unknown", {"--fast"}, false, 0, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimulatedControllersTest, ServeBoxesOneToThreeOnThePortMap) {
    kztr::test::ScopedEnv portDir("RZ8_PORT_DIR", std::nullopt);
    QString error;
    const auto sim = SimulatedControllers::Start(3, error);
    ASSERT_NE(sim, nullptr) << qPrintable(error);
    const QString dir = qEnvironmentVariable("RZ8_PORT_DIR");
    ASSERT_FALSE(dir.isEmpty());
    const QStringList lines = sim->Describe();
    ASSERT_EQ(lines.size(), 3);
    QSet<QChar> models;
    for (int i = 0; i < 3; ++i) {
        const QString com = QStringLiteral("COM%1").arg(i + 1);
        EXPECT_TRUE(lines[i].startsWith(com + ": box ID " + QString::number(i + 1)))
            << qPrintable(lines[i]);
        EXPECT_TRUE(QFileInfo::exists(dir + "/" + com)) << qPrintable(com);
        EXPECT_TRUE(lines[i].contains(dir + "/" + com));
        models.insert(lines[i].at(lines[i].indexOf("model ") + 6));
    }
    EXPECT_EQ(models.size(), 3) << "a mix of models";
}

class ScreenshotTest : public PanelTest {};

TEST_F(ScreenshotTest, WritesThePanelAfterStartUpAndEndsWithZero) {
    QTemporaryDir out;
    const QString file = out.filePath("panel.png");
    ArrangeScreenshot(*m_frame, file);
    EXPECT_EQ(RunModal(), 0);
    const QImage picture(file);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), PanelSize());
    EXPECT_EQ(picture.convertToFormat(QImage::Format_ARGB32_Premultiplied),
              m_frame->GetShownImage().convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TEST_F(ScreenshotTest, AnUnwritableFileEndsWithAFailure) {
    ArrangeScreenshot(*m_frame, m_skin.Path() + "/no/such/folder/panel.png");
    EXPECT_EQ(RunModal(), 2);
}

} // namespace
