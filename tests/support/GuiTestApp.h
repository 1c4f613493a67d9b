#pragma once
// One QApplication for widget and painting tests (created on first use, lives until exit).
void EnsureGuiApp();
