// A handler that talks to the controllers waits inside the device link. Meanwhile the
// window keeps being painted and can be moved, a wait cursor shows, and nothing can
// start a second exchange: presses and keys are dropped, and notifications and pattern
// timers that arrive are kept and handled once the running handler has ended.
#include "ErrorBox.h"
#include "GUIGDIPlusMfcFrameMain.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>

void CGUIGDIPlusMfcFrameMain::BeginExchange() {
    ++m_nExchangeDepth;
}

void CGUIGDIPlusMfcFrameMain::EndExchange() {
    if (--m_nExchangeDepth > 0) return;
    DropWaitCursor();
    // Posted again in their order of arrival; each is handled in a handler of its own.
    for (const DeferredMessage& m : m_vecDeferredMessages)
        PostFrameMessage(m.msg, m.wParam, m.lParam);
    m_vecDeferredMessages.clear();
    for (int id : m_vecDeferredTimers)
        QTimer::singleShot(0, this, [this, id] { HandleTimer(id); });
    m_vecDeferredTimers.clear();
}

void CGUIGDIPlusMfcFrameMain::PumpDuringExchange() {
    // Workers wait in the same device link; only the window's own thread pumps.
    if (QThread::currentThread() != thread()) return;
    if (InExchange() && !m_bWaitCursor && QCoreApplication::instance()) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_bWaitCursor = true;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void CGUIGDIPlusMfcFrameMain::DropWaitCursor() {
    // Only the window's thread sets it; a worker's boxes have none to drop.
    if (QThread::currentThread() != thread() || !m_bWaitCursor) return;
    QGuiApplication::restoreOverrideCursor();
    m_bWaitCursor = false;
}

void CGUIGDIPlusMfcFrameMain::ShowFrameError(int nMessage) {
    DropWaitCursor();
    ShowErrorMessage(nMessage);
}
