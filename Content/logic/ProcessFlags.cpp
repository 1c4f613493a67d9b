#include "ProcessFlags.h"

std::atomic<bool> g_bDevBusy{false};
std::atomic<bool> g_bPatternOn{false};
std::atomic<bool> g_bSerialOpen{false};
std::atomic<CGUIGDIPlusMfcFrameMain*> g_pMainFrame{nullptr};
