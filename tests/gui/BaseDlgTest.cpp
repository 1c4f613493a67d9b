// The skinned dialog base: background and surface, what the window shows, cursor,
// posted notifications and the mouse path from Qt events to the router.
#include "FakeCtrl.h"
#include "FrameMessages.h"
#include "GUIGDIPlusMfcBaseDlg.h"
#include "GuiTestApp.h"
#include "SkinFixtures.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace SkinFixtures;

namespace {

class TestFrame : public CGUIGDIPlusMfcBaseDlg {
public:
    struct Msg {
        std::uint32_t msg;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        Qt::HANDLE thread;
    };
    std::vector<Msg> m_msgs;
    int m_repaints = 0;

protected:
    long OnFrameMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
        m_msgs.push_back({msg, wParam, lParam, QThread::currentThreadId()});
        return static_cast<long>(msg + wParam);
    }
    void RepaintFrame() override {
        ++m_repaints;
        CGUIGDIPlusMfcBaseDlg::RepaintFrame();
    }
};

void SendMouse(QWidget& w, QEvent::Type type, QPoint local, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(local), QPointF(w.mapToGlobal(local)), button, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

class BaseDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGuiApp();
        ASSERT_TRUE(m_dir.isValid());
        m_bk = WriteStrip(m_dir.path(), "GUIFrameMainBKEn.tksx", 1, 120, 80);
    }
    QTemporaryDir m_dir;
    QString m_bk;
};

struct BkSizeCase {
    const char* name;
    int width;
    int height;
    QSize expected;
    friend void PrintTo(const BkSizeCase& c, std::ostream* os) { *os << c.name; }
};

class LoadBKImageSize : public ::testing::TestWithParam<BkSizeCase> {};

TEST_P(LoadBKImageSize, ForcedOnlyWhenBothNonzero) {
    EnsureGuiApp();
    QTemporaryDir dir;
    const QString bk = WriteStrip(dir.path(), "bk.tksx", 1, 120, 80);
    TestFrame frame;
    ASSERT_EQ(frame.LoadBKImage(0, "PNG", bk, GetParam().width, GetParam().height), 1);
    ASSERT_NE(frame.GetSurfaceDC(), nullptr);
    EXPECT_EQ(frame.GetSurfaceDC()->size(), GetParam().expected);
    EXPECT_EQ(frame.GetSurfaceDC()->format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(frame.GetBKInfo().m_rcWindow,
              (GUIRect{0, 0, GetParam().expected.width(), GetParam().expected.height()}));
    EXPECT_EQ(frame.GetBKInfo().m_rcImage, (GUIRect{0, 0, 120, 80}));
    EXPECT_TRUE(frame.GetBKInfo().m_bLoaded);
    EXPECT_EQ(frame.size(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, LoadBKImageSize,
                         ::testing::Values(BkSizeCase{"Natural", 0, 0, QSize(120, 80)},
                                           BkSizeCase{"OnlyHeight", 0, 600, QSize(120, 80)},
                                           BkSizeCase{"OnlyWidth", 300, 0, QSize(120, 80)},
                                           BkSizeCase{"Forced", 300, 200, QSize(300, 200)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BaseDlgTest, MissingBackgroundFailsAndLeavesNoSurface) {
    TestFrame frame;
    EXPECT_EQ(frame.LoadBKImage(0, "PNG", m_dir.filePath("absent.tksx"), 0, 600), 0);
    EXPECT_FALSE(frame.GetBKInfo().m_bLoaded);
    EXPECT_EQ(frame.GetSurfaceDC(), nullptr);
    // Drawing and showing without a surface do nothing.
    frame.DrawBKImage(0, "PNG", m_bk, 0, 0, 0, 0, 255);
    frame.FillRectEx(GUIRect{0, 0, 10, 10}, 0xFF, 255);
    frame.UpdateLayeredFrame();
    EXPECT_TRUE(frame.GetShownImage().isNull());
}

TEST_F(BaseDlgTest, DrawBKImageClearsThenDraws) {
    TestFrame frame;
    ASSERT_EQ(frame.LoadBKImage(0, "PNG", m_bk, 0, 0), 1);
    frame.FillRectEx(GUIRect{0, 0, 120, 80}, 0xFF0000, 200);
    // An empty path only clears.
    frame.DrawBKImage(0, "PNG", QString(), 0, 0, 0, 0, 255);
    EXPECT_TRUE(IsClear(*frame.GetSurfaceDC()));

    const QString small = WriteStrip(m_dir.path(), "small.tksx", 2, 10, 10);
    frame.DrawBKImage(0, "PNG", small, 30, 20, 0, 0, 255); // natural size
    EXPECT_EQ(InkBounds(*frame.GetSurfaceDC()), QRect(30, 20, 20, 10));
    EXPECT_EQ(FrameAt(*frame.GetSurfaceDC(), {45, 25}), 1); // whole image, not a frame
    EXPECT_EQ(frame.GetBKInfo().m_strPath, small);

    frame.DrawBKImage(0, "PNG", small, 0, 0, 120, 80, 255); // stretched, replaces
    EXPECT_EQ(InkBounds(*frame.GetSurfaceDC()), QRect(0, 0, 120, 80));
    frame.DrawBKImage(0, "PNG", small, 0, 0, 0, 0, 51);
    EXPECT_NEAR(frame.GetSurfaceDC()->pixelColor(2, 2).alpha(), 51, 1);
}

TEST_F(BaseDlgTest, WidgetKeepsPerPixelAlpha) {
    TestFrame frame;
    ASSERT_EQ(frame.LoadBKImage(0, "PNG", m_bk, 0, 0), 1);
    frame.DrawBKImage(0, "PNG", QString(), 0, 0, 0, 0, 255);
    frame.FillRectEx(GUIRect{10, 10, 40, 40}, 0x0000FF, 128); // half-transparent red
    frame.FillRectEx(GUIRect{60, 10, 90, 40}, 0x00FF00, 255); // opaque green (254)
    frame.UpdateLayeredFrame();
    EXPECT_EQ(frame.size(), QSize(120, 80));

    // What the widget paints replaces what lies beneath it instead of blending over it:
    // start from an opaque blue backdrop.
    QImage shown(frame.size(), QImage::Format_ARGB32_Premultiplied);
    shown.fill(QColor(0, 0, 255));
    frame.render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
    const QColor half = shown.pixelColor(20, 20);
    EXPECT_NEAR(half.alpha(), 128, 1);
    EXPECT_NEAR(half.red(), 255, 2);
    EXPECT_EQ(half.blue(), 0);
    EXPECT_EQ(shown.pixelColor(70, 20).alpha(), 254);
    EXPECT_EQ(shown.pixelColor(100, 70).alpha(), 0); // untouched: fully transparent
    EXPECT_TRUE(frame.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(frame.windowFlags().testFlag(Qt::FramelessWindowHint));
}

TEST_F(BaseDlgTest, ShowsTheSnapshotOfTheLastUpdate) {
    TestFrame frame;
    ASSERT_EQ(frame.LoadBKImage(0, "PNG", m_bk, 0, 0), 1);
    frame.DrawBKImage(0, "PNG", m_bk, 0, 0, 0, 0, 255);
    frame.UpdateLayeredFrame();
    frame.DrawBKImage(0, "PNG", QString(), 0, 0, 0, 0, 255); // cleared, not yet shown
    EXPECT_EQ(FrameAt(frame.GetShownImage(), {5, 5}), 0);
    frame.UpdateLayeredFrame();
    EXPECT_TRUE(IsClear(frame.GetShownImage()));
}

TEST_F(BaseDlgTest, UpdateFromAnotherThreadIsQueuedToTheFrame) {
    TestFrame frame;
    ASSERT_EQ(frame.LoadBKImage(0, "PNG", m_bk, 0, 0), 1);
    frame.DrawBKImage(0, "PNG", m_bk, 0, 0, 0, 0, 255);
    std::thread worker([&] { frame.UpdateLayeredFrame(); });
    worker.join();
    EXPECT_TRUE(frame.GetShownImage().isNull()); // not shown from the worker itself
    QCoreApplication::processEvents();
    EXPECT_EQ(FrameAt(frame.GetShownImage(), {5, 5}), 0);
}

struct CursorCase {
    const char* name;
    int type;
    Qt::CursorShape shape;
    friend void PrintTo(const CursorCase& c, std::ostream* os) { *os << c.name; }
};

class FrameCursor : public ::testing::TestWithParam<CursorCase> {};

TEST_P(FrameCursor, TypeSelectsShapeOthersKeepCurrent) {
    EnsureGuiApp();
    TestFrame frame;
    frame.SetFrameCursor(CGUIGDIPlusMfcBaseDlg::kCursorSizeNWSE);
    frame.SetFrameCursor(GetParam().type);
    EXPECT_EQ(frame.GetFrameCursor(), GetParam().shape);
    EXPECT_EQ(frame.cursor().shape(), GetParam().shape);
}

INSTANTIATE_TEST_SUITE_P(Types, FrameCursor,
                         ::testing::Values(CursorCase{"Arrow", 0, Qt::ArrowCursor},
                                           CursorCase{"AppStarting", 1, Qt::BusyCursor},
                                           CursorCase{"SizeNWSE", 2, Qt::SizeFDiagCursor},
                                           CursorCase{"Hand", 3, Qt::PointingHandCursor},
                                           CursorCase{"UnknownKeeps", 7, Qt::SizeFDiagCursor},
                                           CursorCase{"NegativeKeeps", -1, Qt::SizeFDiagCursor}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BaseDlgTest, NotificationsArePostedNotCalled) {
    TestFrame frame;
    frame.PostFrameMessage(FrameMsg::kBtnApply, 5, 0);
    EXPECT_TRUE(frame.m_msgs.empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(frame.m_msgs.size(), 1u);
    EXPECT_EQ(frame.m_msgs[0].msg, 1229u);
    EXPECT_EQ(frame.m_msgs[0].wParam, 5u);
    EXPECT_EQ(frame.m_msgs[0].lParam, 0);

    // Posted from a worker: still handled on the frame's thread.
    std::thread worker([&] { frame.PostFrameMessage(FrameMsg::kKeyPatternOffAll, 0, 0); });
    worker.join();
    QCoreApplication::processEvents();
    ASSERT_EQ(frame.m_msgs.size(), 2u);
    EXPECT_EQ(frame.m_msgs[1].thread, QThread::currentThreadId());
}

TEST_F(BaseDlgTest, SendFromAWorkerWaitsForTheFramesThread) {
    TestFrame frame;
    std::atomic<bool> done{false};
    long result = -1;
    std::thread worker([&] {
        result = frame.SendFrameMessage(FrameMsg::kBtnAdjustFirst, 0, 0);
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_EQ(result, 1232);
    ASSERT_EQ(frame.m_msgs.size(), 1u);
    EXPECT_EQ(frame.m_msgs[0].thread, QThread::currentThreadId());
    // On the frame's own thread it runs at once.
    EXPECT_EQ(frame.SendFrameMessage(FrameMsg::kBtnExit, 1, 0), 1232);
    EXPECT_EQ(frame.m_msgs.size(), 2u);
}

TEST_F(BaseDlgTest, MessageNumbersFollowTheUserBase) {
    EXPECT_EQ(FrameMsg::kChkBoxDevSettingSync, 1025u);
    EXPECT_EQ(FrameMsg::kSwitchSerialCom, 1125u);
    EXPECT_EQ(FrameMsg::kBtnHWReset, 1225u);
    EXPECT_EQ(FrameMsg::kBtnExit, 1231u);
    EXPECT_EQ(FrameMsg::kBtnAdjustLast, 1245u);
    EXPECT_EQ(FrameMsg::kRdoDevBox, 1326u);
    EXPECT_EQ(FrameMsg::kRdoEdidVersion, 1331u);
    EXPECT_EQ(FrameMsg::kSliderResolution, 1425u);
}

class FrameMouseTest : public BaseDlgTest {
protected:
    void SetUp() override {
        BaseDlgTest::SetUp();
        ASSERT_EQ(m_frame.LoadBKImage(0, "PNG", m_bk, 0, 0), 1);
        m_frame.GetMouseRouter().AddGroup(MouseRouter::Role::Toggle, {&m_switch});
        m_frame.GetMouseRouter().GetHooks().inDragStrip = [](int, int y) { return y <= 10; };
        m_frame.GetMouseRouter().GetHooks().isBusy = [this] { return m_shadeMode != 0; };
    }
    void Click(QPoint p) {
        SendMouse(m_frame, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        SendMouse(m_frame, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    // The application must exist before the frame widget is constructed.
    struct AppFirst {
        AppFirst() { EnsureGuiApp(); }
    } m_app;
    TestFrame m_frame;
    FakeCtrl m_switch{FakeCtrl::Kind::Toggle, GUIRect{20, 20, 60, 50}, FrameMsg::kSwitchPattern};
    int m_shadeMode = 0;
};

TEST_F(FrameMouseTest, PressReachesTheControlAndPostsItsNotification) {
    Click({25, 30});
    EXPECT_TRUE(m_switch.m_on);
    EXPECT_TRUE(m_switch.m_busy);
    EXPECT_GE(m_frame.m_repaints, 1);
    QCoreApplication::processEvents();
    ASSERT_EQ(m_frame.m_msgs.size(), 1u);
    EXPECT_EQ(m_frame.m_msgs[0].msg, FrameMsg::kSwitchPattern);
    EXPECT_EQ(m_frame.m_msgs[0].wParam, 0u);
}

TEST_F(FrameMouseTest, DoubleClickIsASecondPress) {
    Click({25, 30});
    SendMouse(m_frame, QEvent::MouseButtonDblClick, {25, 30}, Qt::LeftButton, Qt::LeftButton);
    SendMouse(m_frame, QEvent::MouseButtonRelease, {25, 30}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(m_switch.m_downCalls, 2);
    EXPECT_FALSE(m_switch.m_on); // toggled back by the second press
    QCoreApplication::processEvents();
    EXPECT_EQ(m_frame.m_msgs.size(), 1u); // latched: one notification
}

TEST_F(FrameMouseTest, RightButtonIsNotRouted) {
    SendMouse(m_frame, QEvent::MouseButtonPress, {25, 30}, Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(m_switch.m_downCalls, 0);
}

TEST_F(FrameMouseTest, ShadedFrameIgnoresTheMouse) {
    m_shadeMode = 2;
    Click({25, 30});
    SendMouse(m_frame, QEvent::MouseMove, {30, 30}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(m_switch.m_downCalls + m_switch.m_hoverCalls, 0);
    EXPECT_EQ(m_frame.GetFrameCursor(), Qt::ArrowCursor);
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_frame.m_msgs.empty());
    m_shadeMode = 0;
    Click({25, 30});
    EXPECT_TRUE(m_switch.m_on);
}

TEST_F(FrameMouseTest, HoverShowsTheHand) {
    SendMouse(m_frame, QEvent::MouseMove, {30, 30}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(m_frame.GetFrameCursor(), Qt::PointingHandCursor);
    SendMouse(m_frame, QEvent::MouseMove, {100, 70}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(m_frame.GetFrameCursor(), Qt::ArrowCursor);
}

TEST_F(FrameMouseTest, DragStripMovesTheWindow) {
    m_frame.move(100, 100);
    m_frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_frame));
    const QPoint start = m_frame.pos();
    SendMouse(m_frame, QEvent::MouseButtonPress, {30, 5}, Qt::LeftButton, Qt::LeftButton);
    // Moving the pointer by (50, 30) moves the window with it.
    const QPoint grabGlobal = m_frame.mapToGlobal(QPoint(30, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 5), QPointF(grabGlobal + QPoint(50, 30)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&m_frame, &move);
    SendMouse(m_frame, QEvent::MouseButtonRelease, {30, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(m_frame.pos(), start + QPoint(50, 30));
    EXPECT_EQ(m_switch.m_downCalls + m_switch.m_upCalls, 0);
    m_frame.hide();
}

TEST_F(FrameMouseTest, F1DoesNothing) {
    m_frame.show();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&m_frame, &f1);
    EXPECT_TRUE(f1.isAccepted());
    EXPECT_TRUE(m_frame.isVisible());
    EXPECT_EQ(m_frame.result(), 0);
    m_frame.hide();
}

} // namespace
