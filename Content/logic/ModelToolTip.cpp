// The model label's tool tip: which monitor hangs on the current controller, from the
// EDID it sent at the connect (or at F8 since).
#include "EdidDecoder.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "ProcessFlags.h"

QString CGUIGDIPlusMfcFrameMain::ModelToolTip() const {
    if (!g_bSerialOpen || !m_pCurRZ8Dev || !m_pCurRZ8Dev->IsOpen()) return {};
    const std::vector<uint8_t>& edid = m_pCurRZ8Dev->GetEdid();
    // Only the first controller's EDID is read by the connect.
    if (edid.empty()) return QStringLiteral("No EDID read from this controller yet (F8 reads it)");
    return EdidToolTip(DecodeEdid(edid.data(), edid.size()));
}

QString CGUIGDIPlusMfcFrameMain::ToolTipAt(int x, int y, GUIRect& rcOut) const {
    const CGUIGDIPlusMfcCtrlText& label = m_hGUICtrlText[kTextModel];
    if (!label.IsVisible() || !label.m_rcCtrl.Contains(x, y)) return {};
    rcOut = label.m_rcCtrl;
    return ModelToolTip();
}
