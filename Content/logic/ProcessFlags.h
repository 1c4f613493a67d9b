#pragma once
// Process-wide flags that keep device sequences from overlapping. They are read by the
// GUI thread and by the apply/reset workers, hence atomic.
#include <atomic>

class CGUIGDIPlusMfcFrameMain;

// A device write sequence runs; Apply and the resets refuse to start meanwhile.
extern std::atomic<bool> g_bDevBusy;
// A pattern or identify timer is pending.
extern std::atomic<bool> g_bPatternOn;
// The serial link is open: the panel shows its connected background.
extern std::atomic<bool> g_bSerialOpen;
// The main frame, once its start-up succeeded; the keyboard paths post to it.
extern std::atomic<CGUIGDIPlusMfcFrameMain*> g_pMainFrame;
