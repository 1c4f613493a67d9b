#pragma once
// The main frame's panel as assistive technology reads it: every control by role and by
// the name its label gives it ("Serial COM", "Horz Polarity Positive (+)", a device
// column by its FW/COM/BoxID text), the labels as static texts.
#include "AccessibleCtrl.h"

#include <vector>

class CGUIGDIPlusMfcFrameMain;

// Switches, push buttons, check box, device buttons, radio groups, number boxes, slider,
// then the labels; each bound to the frame's own control.
std::vector<AccessibleCtrlBinding> FrameMainAccessibleControls(CGUIGDIPlusMfcFrameMain& frame);

// Makes Qt describe every main frame with its controls; once per process.
void InstallFrameMainAccessibility();
