// The panel's wall-wide actions with "Device Setting Sync" on, against three simulated
// controllers: Apply, its revert, the hardware reset and Set reach every controller at
// once with exactly the frames one controller after another would get, the daily log has
// one whole line per command in box-ID order round by round, and a controller that fails
// gets its box while the others are written all the same.
#include "ApplyFixture.h"
#include "TraceCapture.h"

#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QProcess>
#include <QRegularExpression>

namespace kztr::test {
namespace {

using Frame = CGUIGDIPlusMfcFrameMain;

constexpr int kComs[] = {3, 5, 7};
const QString kApplyA001 = QStringLiteral("KZTRMaster apply fail.\nErrorCode = 0xA001");
const QString kApplyA004 = QStringLiteral("KZTRMaster apply fail.\nErrorCode = 0xA004");
const QString kResetA002 = QStringLiteral("KZTRMaster hardware reset fail.\nErrorCode = 0xA002");

// The same command from every controller of the wall, round after round.
QStringList Rounds(std::initializer_list<int> codes) {
    QStringList out;
    for (int code : codes)
        for (int box = 1; box <= 3; ++box)
            out << QStringLiteral("%1:%2").arg(box).arg(code);
    return out;
}

class WallActionsTest : public ApplyTest {
protected:
    void ConnectWall() {
        ASSERT_NO_FATAL_FAILURE(
            ConnectTo({Controller(3, 1), Controller(5, 2), Controller(7, 3)}, true));
        m_logBefore = LogLines().size();
    }
    // Daily-log lines written since the connect.
    QStringList LogLines() const {
        QStringList lines;
        const QDir dir(m_frame->m_strLogDir);
        for (const QString& name : dir.entryList({"*.txt"}, QDir::Files, QDir::Name)) {
            QFile f(dir.filePath(name));
            if (f.open(QIODevice::ReadOnly))
                lines += QString::fromUtf8(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
        }
        return lines.mid(int(m_logBefore));
    }
    // "box:command" of each line; a line that is not whole shows as itself.
    QStringList LoggedCommands() const {
        static const QRegularExpression whole(
            QStringLiteral(R"(^\[\d\d:\d\d:\d\d\]: .* \(ID = (\d+)\) - ; VR = .* Cmd=(\d+) DP=\d+ )"
                           R"(\[UP PORT\].*; $)"));
        QStringList out;
        for (const QString& line : LogLines()) {
            const auto m = whole.match(line);
            out << (m.hasMatch() ? QString::number(m.captured(1).toInt()) + ":" + m.captured(2)
                                 : line);
        }
        return out;
    }
    // Every controller got the same frames but for the box ID they carry.
    void ExpectSameFramesButTheBoxId() {
        const std::vector<RZ8Full> first = Frames(kComs[0]);
        for (int i = 0; i < 3; ++i) {
            const std::vector<RZ8Full> sent = Frames(kComs[i]);
            ASSERT_EQ(sent.size(), first.size()) << "COM" << kComs[i];
            for (size_t k = 0; k < sent.size(); ++k) {
                EXPECT_EQ(sent[k].box_id, i + 1) << "COM" << kComs[i] << " frame " << k;
                RZ8Full alike = sent[k];
                alike.box_id = first[k].box_id;
                EXPECT_EQ(alike, first[k]) << "COM" << kComs[i] << " frame " << k;
            }
        }
    }
    void PressSet(int width, int height) {
        m_frame->m_hGUICtrlEditBox[Frame::kEditHPixel].SetNumber(width);
        m_frame->m_hGUICtrlEditBox[Frame::kEditVPixel].SetNumber(height);
        ClickButton(Frame::kBtnSetUserRes);
    }
    size_t m_logBefore = 0;
};

struct WallCase {
    const char* name;
    int button;
    int answer; // of the keep-or-revert box
    // What the first controller (the checked one) and the other two receive.
    std::vector<int> first;
    std::vector<int> others;
    QStringList logged;
};

void PrintTo(const WallCase& c, std::ostream* os) {
    *os << c.name;
}

class WallActionCaseTest : public WallActionsTest,
                           public ::testing::WithParamInterface<WallCase> {};

TEST_P(WallActionCaseTest, EveryControllerGetsTheOneByOneFramesAndTheLogIsInBoxIdOrder) {
    const WallCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(ConnectWall());
    m_answer = c.answer;
    if (c.button == Frame::kBtnSetUserRes) {
        PressSet(2000, 1000);
    } else {
        SetRate(50);
        PressAndWait(c.button);
    }
    EXPECT_EQ(Codes(3), c.first);
    EXPECT_EQ(Codes(5), c.others);
    EXPECT_EQ(Codes(7), c.button == Frame::kBtnHWReset
                            ? (std::vector<int>{RZ8_BOOTCDE_HW_RESET, 0xFF, 0xFF})
                            : c.others);
    ExpectSameFramesButTheBoxId();
    EXPECT_EQ(LoggedCommands(), c.logged);
    EXPECT_TRUE(m_boxes.boxes.empty());
    ExpectIdle(c.button);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, WallActionCaseTest,
    ::testing::Values(
        WallCase{"ApplyKept", 5, 0, {0xFF, 0x00}, {0x00}, Rounds({0})},
        WallCase{"ApplyReverted", 5, 1004, {0xFF, 0x00, 0x00}, {0x00, 0x00}, Rounds({0, 0})},
        // The last controller stays current: the two reads after the resets are its.
        WallCase{"HardwareReset", Frame::kBtnHWReset, 0, {0x01}, {0x01}, Rounds({1})},
        WallCase{"Set",
                 Frame::kBtnSetUserRes,
                 0,
                 {0x0D, 0xFF, 0x0F, 0x0C, 0xFF, 0x0E, 0x11},
                 {0x0D, 0xFF, 0x0F, 0x0C, 0xFF, 0x0E, 0x11},
                 Rounds({13, 15, 12, 14, 17})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WallActionsTest, ApplyWithOneRefusingControllerOfThreeGivesItsBoxAndWritesTheOthers) {
    ASSERT_NO_FATAL_FAILURE(ConnectWall());
    ASSERT_NO_FATAL_FAILURE(Refuse(5));
    SetRate(50);
    PressAndWait(kApply);
    EXPECT_EQ(m_boxes.Texts(), std::vector<QString>{kApplyA001});
    EXPECT_EQ(SimRate(3), 50);
    EXPECT_EQ(SimRate(5), 60);
    EXPECT_EQ(SimRate(7), 50);
    // A failed write skips the question, as with one controller.
    EXPECT_TRUE(m_calls.empty());
    EXPECT_EQ(LoggedCommands(), Rounds({0}));
    ExpectIdle(kApply);
}

TEST_F(WallActionsTest, ARevertThatOneControllerDoesNotAnswerStillRevertsTheOthers) {
    ASSERT_NO_FATAL_FAILURE(ConnectWall());
    // The second controller stops answering while the operator is asked.
    m_whileAsked = [this] { ASSERT_NO_FATAL_FAILURE(Refuse(7, {RZ8_BOOTCDE_SET_FULLDATA})); };
    SetRate(50);
    PressAndWait(kApply);
    ASSERT_EQ(m_calls.size(), 1u);
    EXPECT_EQ(m_boxes.Texts(), std::vector<QString>{kResetA002});
    EXPECT_EQ(SimRate(3), 60);
    EXPECT_EQ(SimRate(5), 60);
    EXPECT_EQ(SimRate(7), 50) << "its revert frame was never answered";
    EXPECT_EQ(Rate(), "60");
    ExpectIdle(kApply);
}

TEST_F(WallActionsTest, AResetOneControllerIgnoresGivesOneBoxAndResetsTheOthers) {
    ASSERT_NO_FATAL_FAILURE(ConnectWall());
    ASSERT_NO_FATAL_FAILURE(Refuse(3, {RZ8_BOOTCDE_HW_RESET}));
    PressAndWait(Frame::kBtnHWReset);
    EXPECT_EQ(m_boxes.Texts(), std::vector<QString>{kResetA002});
    EXPECT_EQ(m_sim.state(5)->resets, 1);
    EXPECT_EQ(m_sim.state(7)->resets, 1);
    EXPECT_EQ(Codes(7), (std::vector<int>{RZ8_BOOTCDE_HW_RESET, 0xFF, 0xFF}));
    ExpectIdle(Frame::kBtnHWReset);
}

// Boxes come one per failed controller, in box-ID order, whatever order they failed in.
TEST_F(WallActionsTest, WhenEveryControllerFailsEachGetsItsBoxAndThePanelIsUsableAgain) {
    ASSERT_NO_FATAL_FAILURE(ConnectWall());
    const RZ8Full before = m_frame->m_hCurRZ8Full;
    for (int com : kComs)
        ASSERT_NO_FATAL_FAILURE(Refuse(com));
    SetRate(50);
    PressAndWait(kApply);
    EXPECT_EQ(m_boxes.Texts(), (std::vector<QString>{kApplyA001, kApplyA001, kApplyA001}));
    EXPECT_TRUE(m_calls.empty());
    for (int com : kComs)
        EXPECT_EQ(SimRate(com), 60);
    EXPECT_TRUE(Frame::IsSameRZ8Setting(m_frame->m_hDevRZ8Full, before));
    ExpectIdle(kApply);

    m_boxes.boxes.clear();
    for (int com : kComs)
        ASSERT_NO_FATAL_FAILURE(Refuse(com, {RZ8_BOOTCDE_HW_RESET, RZ8_BOOTCDE_GET_OLDDATA}));
    PressAndWait(Frame::kBtnHWReset);
    // Three resets unanswered; then the last one's configuration cannot be read.
    EXPECT_EQ(m_boxes.Texts(),
              (std::vector<QString>{kResetA002, kResetA002, kResetA002, kApplyA004}));
    ExpectIdle(Frame::kBtnHWReset);
}

TEST_F(WallActionsTest, ASetWhoseReadBacksFailOnOneControllerGivesItsBoxesAndSetsTheOthers) {
    ASSERT_NO_FATAL_FAILURE(ConnectWall());
    ASSERT_NO_FATAL_FAILURE(Refuse(5, {RZ8_BOOTCDE_GET_OLDDATA}));
    PressSet(2400, 1200);
    // Both of its read-backs fail; its counts are set and committed all the same.
    EXPECT_EQ(m_boxes.Texts(), (std::vector<QString>{kResetA002, kResetA002}));
    for (int com : kComs) {
        EXPECT_EQ(m_sim.state(com)->hPixel, 2400) << "COM" << com;
        EXPECT_EQ(m_sim.state(com)->vPixel, 1200) << "COM" << com;
        EXPECT_EQ(m_sim.state(com)->pixelCommits, 1) << "COM" << com;
    }
    EXPECT_EQ(m_frame->m_strUserRes[0], "2400 * 1200");
    ExpectIdle(Frame::kBtnSetUserRes);
}

// What the panel shows after a Set is what the last controller answered, as after
// writing them one after another.
TEST_F(WallActionsTest, AfterASetThePanelShowsTheLastControllersAnswers) {
    ASSERT_NO_FATAL_FAILURE(ConnectWall());
    // The last controller runs at its own rate.
    RZ8Full other = m_frame->m_hCurRZ8Full;
    other.setVRHz(72);
    ASSERT_EQ(m_frame->ExchangeOf(2).APIPR_SetRZ8FullData(other, RZ8_BOOTCDE_SET_FULLDATA, 3, 0),
              1);
    PressSet(1280, 720);
    EXPECT_EQ(Rate(), "72");
    EXPECT_EQ(m_frame->m_hDevRZ8Full.VRHz(), 72);
    EXPECT_EQ(m_frame->m_wHPIXEL, 1280);
    EXPECT_EQ(m_frame->m_wVPIXEL, 720);
    EXPECT_EQ(m_frame->m_pCurRZ8Dev, &m_frame->m_hRZ8Dev[2]);
}

// A wall of three models: each controller's daily-log line names the resolution from its
// own model's list, whichever controller the panel shows, and kztrctl --all writes the
// very same lines for the same change.
TEST_F(WallActionsTest, OnAMixedWallEachLogLineNamesItsOwnModelsResolutionAsKztrctlDoes) {
    const char models[] = {'C', 'H', 'K'};
    ASSERT_NO_FATAL_FAILURE(ConnectTo(
        {Controller(3, 1, models[0]), Controller(5, 2, models[1]), Controller(7, 3, models[2])},
        true));
    m_logBefore = LogLines().size();
    // Reverted, so that the wall is as before for kztrctl.
    m_answer = kRevertButton;
    SetRate(50);
    PressAndWait(kApply);
    const QStringList panel = LogLines().mid(0, 3);
    ASSERT_EQ(panel.size(), 3);
    const int mode = m_frame->m_hCurRZ8Full.hRZ8Data.I_output_mode;
    QStringList names;
    for (int i = 0; i < 3; ++i) {
        const QString name =
            m_frame->ResolutionText(SliderListForBoxMode(BoxModeFromModelLetter(models[i])), mode);
        names << name;
        EXPECT_TRUE(panel[i].contains(name))
            << "box " << i + 1 << " (model " << models[i] << "): " << panel[i].toStdString();
    }
    // The three lists name this position differently, or the case would show nothing.
    ASSERT_NE(names[0], names[1]);
    ASSERT_NE(names[1], names[2]);

    // The panel lets go of the ports; kztrctl makes the same change on the same wall.
    ClickSwitch(Frame::kSwitchSerialCOM);
    ASSERT_FALSE(g_bSerialOpen.load());
    QTemporaryDir ctlDir;
    ASSERT_TRUE(ctlDir.isValid());
    const QString program = ctlDir.path() + QStringLiteral("/kztrctl");
    ASSERT_TRUE(QFile::copy(QStringLiteral(KZTRCTL_EXECUTABLE), program));
    QProcess ctl;
    ctl.start(program, {QStringLiteral("set"), QStringLiteral("--all"), QStringLiteral("vr=50")});
    ASSERT_TRUE(ctl.waitForFinished(60000));
    ASSERT_EQ(ctl.exitCode(), 0) << ctl.readAllStandardError().toStdString();
    QStringList logged;
    const QDir logDir(ctlDir.path() + QStringLiteral("/LogoFiles"));
    for (const QString& name : logDir.entryList({"*.txt"}, QDir::Files, QDir::Name)) {
        QFile f(logDir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            logged += QString::fromUtf8(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
    }
    // Without the time of day, the lines are the same.
    const auto untimed = [](QStringList lines) {
        for (QString& l : lines)
            l = l.mid(l.indexOf(QLatin1String(": ")) + 2);
        return lines;
    };
    EXPECT_EQ(untimed(logged).join('\n').toStdString(), untimed(panel).join('\n').toStdString());
}

// While a wall reset runs on the worker, the window's thread serves the model label's
// tool tip and F5: what they read must be the window's own or safely shared (the thread
// sanitizer build judges it), and F5 traces the records as they stood.
TEST_F(WallActionsTest, ToolTipAndF5DuringAWallResetReadNothingTheWorkerWrites) {
    ASSERT_NO_FATAL_FAILURE(ConnectWall());
    const RZ8Full shown = m_frame->m_hCurRZ8Full;
    const GUIRect label = m_frame->m_hGUICtrlText[Frame::kTextModel].m_rcCtrl;
    const QPoint inLabel((label.left + label.right) / 2, (label.top + label.bottom) / 2);
    TraceCapture trace;
    ClickButton(Frame::kBtnHWReset);
    int served = 0;
    ASSERT_TRUE(WaitUntil(
        [&] {
            GUIRect rc;
            m_frame->ToolTipAt(inLabel.x(), inLabel.y(), rc);
            QHelpEvent rest(QEvent::ToolTip, inLabel, m_frame->mapToGlobal(inLabel));
            QCoreApplication::sendEvent(m_frame.get(), &rest);
            QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
            QCoreApplication::sendEvent(m_frame.get(), &f5);
            ++served;
            return !m_frame->IsWorkerActive();
        },
        30000));
    QCoreApplication::processEvents();
    EXPECT_GT(served, 1);
    // Every F5 during the reset traced the record the panel showed when it began: the
    // reset writes nothing back before it ends.
    const std::string shownLine = "[D][HV][SET GUI OnkeyDown]m_hCurRZ8Full.hRZ8Data  " +
                                  std::to_string(shown.hp()) + " " + std::to_string(shown.vp());
    EXPECT_EQ(trace.count(shownLine), served);
    for (int com : kComs)
        EXPECT_EQ(Codes(com).front(), RZ8_BOOTCDE_HW_RESET) << "COM" << com;
    ExpectIdle(Frame::kBtnHWReset);
}

} // namespace
} // namespace kztr::test
