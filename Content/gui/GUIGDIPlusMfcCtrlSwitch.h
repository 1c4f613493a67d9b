#pragma once
// On/off switch: a press inside an enabled switch flips it. A switch has no visibility:
// it is always drawn (when its image loaded) and always hit-tested.
#include "GUIGDIPlusMfcCtrlStrip.h"

class CGUIGDIPlusMfcCtrlSwitch : public CGUIGDIPlusMfcCtrlCheckable {
public:
    void CopyFrom(const CGUIGDIPlusMfcCtrlSwitch& desc) { CopyStripFrom(desc); }

    bool IsVisible() const override { return true; }
    // Inside and enabled: 0 <-> 1, true.
    bool HitDown(int x, int y) override { return Toggle(x, y); }
};
