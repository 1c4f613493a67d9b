#pragma once
// Push button: 0 normal, 2 pressed, 3 disabled (frame 1 is never shown). The press only
// arms it; the release, wherever it happens, completes the click.
#include "GUIGDIPlusMfcCtrlStrip.h"

class CGUIGDIPlusMfcCtrlBtn : public CGUIGDIPlusMfcCtrlStrip {
public:
    enum { kNormal = 0, kPressed = 2, kDisabled = 3 };

    int m_iResID = 0; // "PNG" resource of the image; 0 = load from m_strImagePath

    void CopyFrom(const CGUIGDIPlusMfcCtrlBtn& desc);
    bool LoadImage() override;

    // State 0 when enabled, 3 otherwise (a pressed button loses its pressed look).
    void SetEnable(bool enable) { m_iState = enable ? kNormal : kDisabled; }
    bool IsEnabled() const { return m_iState != kDisabled; }

    // Visible, inside and enabled: pressed, true.
    bool HitDown(int x, int y) override;
    // Visible, enabled and pressed: normal again, true. The point is not tested.
    bool HitUp(int x, int y) override;
    // Visible, inside and enabled; buttons have no hover look.
    bool HitHover(int x, int y) override;
};
