#include "GUIGDIPlusMfcFrameSplash.h"

#include "ModuleDirectory.h"
#include "PanelGeometry.h"

#include <QKeyEvent>

namespace {
const QString kBackground = QStringLiteral("GUIFrameSplash/GUIFrameSplashBK.tksx");
constexpr GUIColorRef kWhite = 0xFFFFFF;
constexpr int kAlignRight = 2;

// The splash's texts, at the places its artwork leaves for them.
void DrawSplashText(CGUIGDIPlusMfcPainter& painter, QImage* dc, const QString& text,
                    const PanelGeometry::Rect& r, unsigned size) {
    painter.DrawTextEx(dc, text, r.left, r.top, r.right, r.bottom, false, size, kWhite, 255, 0,
                       kAlignRight, QStringLiteral("Arial"));
}
} // namespace

const QString CGUIGDIPlusMfcFrameSplash::kOwnershipText =
    QStringLiteral("\u00A9 2026 Quorvane. All rights reserved.");

CGUIGDIPlusMfcFrameSplash::CGUIGDIPlusMfcFrameSplash(QWidget* parent)
    : CGUIGDIPlusMfcBaseDlg(parent) {
    // A press anywhere moves the window; the splash has no controls.
    m_hMouseRouter.GetHooks().inDragStrip = [](int, int) { return true; };
    setWindowTitle(QStringLiteral("KZTRMaster"));
}

void CGUIGDIPlusMfcFrameSplash::Create(QWidget* parent) {
    if (parent != nullptr && parentWidget() != parent) setParent(parent, windowFlags());
    m_bCreated = true;
    m_strSkinDir = SkinDirectoryIn(m_strModuleDir);
    // A missing background leaves nothing to show; start-up goes on regardless.
    LoadBKImage(0, QStringLiteral("PNG"), m_strSkinDir + kBackground, 0, 0);
    RepaintFrame();
    PostFrameMessage(kMsgPlace, 0, 0);
}

void CGUIGDIPlusMfcFrameSplash::RepaintFrame() {
    m_strSkinPath = m_strSkinDir + kBackground;
    // The file is read again on every repaint, at its own size.
    DrawBKImage(0, QString(), m_strSkinPath, 0, 0, 0, 0, 255);
    QImage* dc = GetSurfaceDC();
    DrawSplashText(m_hPainter, dc, kVersionText, PanelGeometry::kSplashVersion, 12);
    DrawSplashText(m_hPainter, dc, kOwnershipText, PanelGeometry::kSplashNotice, 11);
    UpdateLayeredFrame();
}

long CGUIGDIPlusMfcFrameSplash::OnFrameMessage(std::uint32_t msg, std::uintptr_t wParam,
                                               std::intptr_t lParam) {
    if (msg == kMsgPlace) {
        OnPlaceWindow();
        return 0;
    }
    return CGUIGDIPlusMfcBaseDlg::OnFrameMessage(msg, wParam, lParam);
}

void CGUIGDIPlusMfcFrameSplash::OnPlaceWindow() {
    // At the window's own size: the background's, once it loaded.
    ShowOnPlacementArea();
    RepaintFrame();
}

void CGUIGDIPlusMfcFrameSplash::keyPressEvent(QKeyEvent* e) {
    if (!SwallowEnterAndEscape(e)) CGUIGDIPlusMfcBaseDlg::keyPressEvent(e);
}
