// The quit message ends the frame's modal run. Its own process: after a quit no later
// event loop of the process runs, as in the application.
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "PanelSkinDir.h"
#include "VirtualClock.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(FrameQuitTest, QuitMessageEndsTheModalRun) {
    PanelSkinDir skin;
    ASSERT_TRUE(skin.IsValid()) << qPrintable(skin.Error());
    GUITextTable::Instance().Fill();
    kztr::test::VirtualClock clock; // the splash wait takes no real time
    CGUIGDIPlusMfcFrameMain frame(skin.Path(), clock);
    bool stillRunningAfterPost = false;
    bool timedOut = false;
    frame.SetAfterStartup([&] {
        frame.PostQuitMessage();
        // Queued: the handler that posts it finishes first.
        stillRunningAfterPost = frame.isVisible();
    });
    QTimer::singleShot(10000, &frame, [&] {
        timedOut = true;
        frame.reject();
    });
    frame.exec();
    frame.DestroyWindow();

    EXPECT_TRUE(stillRunningAfterPost);
    EXPECT_FALSE(timedOut) << "the quit message did not end the modal run";
}

} // namespace

int main(int argc, char** argv) {
    // Test discovery runs without the test environment: never reach for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
