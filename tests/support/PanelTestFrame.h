#pragma once
// A main frame for panel tests: the project's skin in a private folder, the splash wait
// in virtual time, and every notification the frame handles recorded.
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUIGDIPlusMfcPainter.h"
#include "GUITextTable.h"
#include "GuiTestApp.h"
#include "PanelGeometry.h"
#include "PanelSkinDir.h"
#include "ScriptedDialogs.h"
#include "VirtualClock.h"

#include <QImage>
#include <QPainter>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class RecordingFrame : public CGUIGDIPlusMfcFrameMain {
public:
    struct Message {
        std::uint32_t msg;
        std::uintptr_t wParam;
    };
    using CGUIGDIPlusMfcFrameMain::CGUIGDIPlusMfcFrameMain;

    std::vector<Message> m_vecMessages;

    // Messages of one number, in order.
    std::vector<Message> Of(std::uint32_t msg) const {
        std::vector<Message> out;
        for (const Message& m : m_vecMessages)
            if (m.msg == msg) out.push_back(m);
        return out;
    }

protected:
    long OnFrameMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
        if (msg != FrameMsg::kPlaceWindow) m_vecMessages.push_back({msg, wParam});
        return CGUIGDIPlusMfcFrameMain::OnFrameMessage(msg, wParam, lParam);
    }
};

// A place of the panel's table as the controls hold it, and the panel's size.
inline GUIRect PanelRect(const PanelGeometry::Rect& r) {
    return GUIRect{r.left, r.top, r.right, r.bottom};
}
inline QSize PanelSize() {
    return QSize(PanelGeometry::kPanel.width(), PanelGeometry::kPanel.height());
}

class PanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        EnsureGuiApp();
        GUITextTable::Instance().Fill();
    }

    void SetUp() override {
        ASSERT_TRUE(m_skin.IsValid()) << qPrintable(m_skin.Error());
        m_frame = std::make_unique<RecordingFrame>(m_skin.Path(), m_clock);
        // A dialog nobody answers would hold the test for ever.
        m_frame->SetStdDialogs(&m_dialogs);
    }

    // The start-up as the frame's initialisation runs it.
    void StartUp() { ASSERT_EQ(m_frame->APIPR_Initialize(), 1); }

    // What RunModal returns when the frame did not end its run in time.
    static constexpr int kRunTimedOut = 99;

    // Runs the frame modally as the application does: start-up, then afterStartup (when
    // given) once the panel shows. A run still going after ten seconds is ended with
    // kRunTimedOut, so a frame that does not close fails its test instead of hanging it.
    int RunModal(std::function<void()> afterStartup = {}) {
        if (afterStartup) m_frame->SetAfterStartup(std::move(afterStartup));
        QTimer::singleShot(10000, m_frame.get(), [this] { m_frame->done(kRunTimedOut); });
        return m_frame->exec();
    }

    // The background alone, as the not-connected panel draws it.
    QImage Backdrop() {
        QImage img(m_frame->GetShownImage().size(), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        const GUIRect& rc = m_frame->GetBKInfo().m_rcImage;
        m_frame->GetPainter().DrawSkinImage(*m_frame->m_pImageBKDs, &img, rc.left, rc.top,
                                            rc.Width(), rc.Height(), 255);
        return img;
    }

    static bool SameInside(const QImage& a, const QImage& b, const GUIRect& rc) {
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                if (a.pixel(x, y) != b.pixel(x, y)) return false;
        return true;
    }

    // Clicks at a panel point the way the window system delivers it.
    void Press(int x, int y) { m_frame->GetMouseRouter().OnLButtonDown(x, y); }
    static QPoint Centre(const GUIRect& rc) {
        return QPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }

    PanelSkinDir m_skin;
    kztr::test::VirtualClock m_clock;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<RecordingFrame> m_frame;
};
