// The quit message ends the frame's modal run. Its own process: after a quit no later
// event loop of the process runs, as in the application.
#include "PanelTestFrame.h"

namespace {

using FrameQuitTest = PanelTest;

TEST_F(FrameQuitTest, QuitMessageEndsTheModalRun) {
    bool stillRunningAfterPost = false;
    const int result = RunModal([&] {
        m_frame->PostQuitMessage();
        // Queued: the handler that posts it finishes first.
        stillRunningAfterPost = m_frame->isVisible();
    });
    m_frame->DestroyWindow();

    EXPECT_TRUE(stillRunningAfterPost);
    EXPECT_NE(result, kRunTimedOut) << "the quit message did not end the modal run";
}

} // namespace
