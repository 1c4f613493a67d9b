// Drawing the whole panel: backgrounds, labels, controls, resolution labels, shade.
#include "AccessibleFrame.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "ProcessFlags.h"

#include <algorithm>
#include <limits>

namespace {

// A pixel box holds what the 16-bit word keeps: a typed value beyond it is shown and
// stored as the largest width or height there is, never wrapped to a smaller one.
uint16_t ReadPixelBox(CGUIGDIPlusMfcCtrlEditBox& box) {
    const int n = std::clamp(box.GetNumber(), 0, int(std::numeric_limits<uint16_t>::max()));
    box.SetNumber(n);
    return static_cast<uint16_t>(n);
}

} // namespace

void CGUIGDIPlusMfcFrameMain::RepaintFrame() {
    QImage* dc = GetSurfaceDC();
    // Only clears the surface.
    DrawBKImage(0, QString(), QString(), 0, 0, 0, 0, 255);
    if (dc != nullptr) {
        const SkinImagePtr& bk = g_bSerialOpen ? m_pImageBKEn : m_pImageBKDs;
        if (SkinImageUsable(bk.get())) {
            const GUIRect& rc = GetBKInfo().m_rcImage;
            m_hPainter.DrawSkinImage(*bk, dc, rc.left, rc.top, rc.Width(), rc.Height(), 255);
        }
    }

    for (auto& c : m_hGUICtrlText)
        c.Draw(dc);
    for (auto& c : m_hGUICtrlTextDevBox)
        c.Draw(dc);
    for (auto& c : m_hGUICtrlRdoBtnDevBox)
        c.Draw(dc);
    for (auto& c : m_hGUICtrlEditBox)
        c.Draw(dc);
    for (auto& c : m_hGUICtrlChkBox)
        c.Draw(dc);
    for (auto& c : m_hGUICtrlSwitch)
        c.Draw(dc);
    for (auto& c : m_hGUICtrlBtn)
        c.Draw(dc);
    for (auto& c : m_hGUICtrlRdoBtnHPol)
        c.Draw(dc);
    for (auto& c : m_hGUICtrlRdoBtnVPol)
        c.Draw(dc);
    for (auto& c : m_hGUICtrlRdoBtnColor)
        c.Draw(dc);
    for (auto& c : m_hGUICtrlRdoBtnAudio)
        c.Draw(dc);
    for (auto& c : m_hGUICtrlRdoBtnEDID)
        c.Draw(dc);
    m_hGUICtrlSliderRes.Draw(dc);

    for (int i = 0; i < kTextResCount; ++i) {
        if (i == kTextResCount - 1) {
            // The user-defined width and height are whatever the two boxes show now.
            m_wHPIXEL = ReadPixelBox(m_hGUICtrlEditBox[kEditHPixel]);
            m_wVPIXEL = ReadPixelBox(m_hGUICtrlEditBox[kEditVPixel]);
        }
        m_hGUICtrlTextRes[i].Draw(dc);
    }

    if (m_nShadeMode == 1)
        m_hGUICtrlImageShadow[0].Draw(dc);
    else if (m_nShadeMode == 2)
        m_hGUICtrlImageShadow[1].Draw(dc);

    UpdateLayeredFrame();
    // What changed reaches assistive technology.
    NotifyAccessibleChanges(this);
}
