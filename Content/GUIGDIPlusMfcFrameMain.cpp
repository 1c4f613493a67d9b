#include "GUIGDIPlusMfcFrameMain.h"

#include "DebugTrace.h"
#include "FrameMainAccessible.h"
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMsgBox.h"
#include "ProcessFlags.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

CGUIGDIPlusMfcFrameMain::CGUIGDIPlusMfcFrameMain(const QString& moduleDir, kztr::Clock& clock)
    : CGUIGDIPlusMfcBaseDlg(nullptr), CRZ8DeviceLink(clock), m_strModuleDir(moduleDir),
      m_hBtnRepeat([this](quint32 msg) { SendFrameMessage(msg, 0, 0); },
                   [&clock] { return clock.now(); }) {
    const FileDirectories files = ChooseFileDirectories(moduleDir);
    m_strSettingFile = files.settingFile;
    m_strLogDir = files.logDir;
    SetMessagePump([this] { PumpDuringExchange(); });
    SetupMouseRouting();
    InstallFrameMainAccessibility();
    qApp->installEventFilter(&m_hBoxPlacement);
    m_fnKeepRevertBox = [this](const QString& message, const QString& format, int seconds) {
        return ::ShowKeepRevertBox(this, message, format, seconds);
    };
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
    // A failed start-up has shown its box already: there is no panel to run.
    if (m_bInitFailed) return kInitFailedStatus;
    return QDialog::exec();
}

void CGUIGDIPlusMfcFrameMain::accept() {}

void CGUIGDIPlusMfcFrameMain::reject() {
    // A close request in the middle of an exchange would end the run under it.
    if (InExchange()) return;
    QDialog::reject();
}

void CGUIGDIPlusMfcFrameMain::PostQuitMessage() {
    // exit(), not quit(): quit() only ends QApplication::exec, which never runs here.
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void CGUIGDIPlusMfcFrameMain::DestroyWindow() {
    if (m_bDestroyed) return;
    m_bDestroyed = true;
    hide();
    m_hSplash.hide();
    OnDestroy();
}

void CGUIGDIPlusMfcFrameMain::OnDestroy() {
    RZ8_TRACE("[D]OnDestroy\n");
    if (g_pMainFrame == this) g_pMainFrame = nullptr;
    m_hBtnRepeat.Stop();
    // The worker asks this thread for repaints and boxes: serve it until it has ended.
    while (m_bWorkerActive) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (m_hWorker.joinable()) m_hWorker.join();
    for (int id : {FrameMsg::kTimerPattern, FrameMsg::kTimerRgbw, FrameMsg::kTimerIdentify})
        KillTimer(id);
    // The hot key joins here.
    APIPR_UARTClose();
    DropWaitCursor();
    g_bSerialOpen = false;
}

void CGUIGDIPlusMfcFrameMain::mouseReleaseEvent(QMouseEvent* e) {
    // Any release ends a press-and-hold repeat, even one whose button meanwhile became
    // disabled and so no longer answers the release itself.
    if (e->button() == Qt::LeftButton) m_hBtnRepeat.Stop();
    CGUIGDIPlusMfcBaseDlg::mouseReleaseEvent(e);
}

void CGUIGDIPlusMfcFrameMain::keyPressEvent(QKeyEvent* e) {
    // The dialog would take Escape for a cancel and end the application; the operator
    // leaves only by the Exit button.
    if (SwallowEnterAndEscape(e)) return;
    // No typing into the panel while a handler talks to the controllers.
    if (InExchange()) {
        e->accept();
        return;
    }
    // Typing goes to the focused number box; the first box that takes the key ends the
    // search, and the panel shows the new text at once.
    for (CGUIGDIPlusMfcCtrlEditBox& box : m_hGUICtrlEditBox) {
        if (box.OnKey(*e)) {
            RepaintFrame();
            e->accept();
            return;
        }
    }
    // The diagnostic keys may talk to a controller: one exchange, like a notification.
    BeginExchange();
    OnKeyDownMsg(e->key(), 0);
    EndExchange();
    e->accept();
}
