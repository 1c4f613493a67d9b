#include "GUIGDIPlusMfcFrameMain.h"

#include "DebugTrace.h"

#include <QCoreApplication>

CGUIGDIPlusMfcFrameMain::CGUIGDIPlusMfcFrameMain(const QString& moduleDir)
    : QDialog(nullptr), m_strSettingFile(moduleDir + QStringLiteral("/KZTRSettingFile.kzt")),
      m_strLogDir(moduleDir + QStringLiteral("/LogoFiles/")) {
    // A missing file keeps the defaults; nothing else touches the disk before the window.
    if (!ReadSettingFile(m_strSettingFile, m_hSetting))
        RZ8_TRACE("[D]No settings file %s, durations %d %d %d\n", qUtf8Printable(m_strSettingFile),
                  m_hSetting.iPatternSec, m_hSetting.iIdentifySec, m_hSetting.iApplyConfirmSec);
}

CGUIGDIPlusMfcFrameMain::~CGUIGDIPlusMfcFrameMain() {
    DestroyWindow();
}

int CGUIGDIPlusMfcFrameMain::exec() {
    if (!m_bInitDone) {
        m_bInitDone = true;
        winId(); // the window exists from here on, still hidden
        OnInitDialog();
    }
    return QDialog::exec();
}

bool CGUIGDIPlusMfcFrameMain::OnInitDialog() {
    // Start-up steps (splash, skin, panel, title, placement) and the hot key join here.
    return true;
}

void CGUIGDIPlusMfcFrameMain::PostQuitMessage() {
    // exit(), not quit(): quit() only ends QApplication::exec, which never runs here.
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void CGUIGDIPlusMfcFrameMain::accept() {}

void CGUIGDIPlusMfcFrameMain::reject() {
    QDialog::reject();
}

void CGUIGDIPlusMfcFrameMain::DestroyWindow() {
    if (m_bDestroyed) return;
    m_bDestroyed = true;
    hide();
    OnDestroy();
}

void CGUIGDIPlusMfcFrameMain::OnDestroy() {
    // In this order, each joining as it is built: kill the pattern, RGBW and identify
    // timers (1001, 1002, 1003); close every device link (which also clears the device
    // rows and drops the hot key). No low-level keyboard hook is installed here.
    RZ8_TRACE("[D]OnDestroy\n");
}
