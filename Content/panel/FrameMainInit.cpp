// Start-up of the main frame: splash, panel from the skin, title, not-connected state and
// the window's place.
#include "AppVersion.h"
#include "DebugTrace.h"
#include "ErrorBox.h"
#include "FrameMessages.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "ProcessFlags.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
const QString kBrand = QStringLiteral("nIVRA");
const QString kBackground = QStringLiteral("GUIFrameMain/GUIFrameMainBKEn.tksx");
constexpr int kTitleMaxChars = 126; // the title buffer holds 127 characters with its end
constexpr int kUserResMaxChars = 19;
} // namespace

bool CGUIGDIPlusMfcFrameMain::OnInitDialog() {
    if (APIPR_Initialize()) {
        // Without an X11 display there is no hot key; the trace says so.
        m_hHotKey.SetHandler(
            [this](int id, Qt::KeyboardModifiers, Qt::Key key) { OnHotKeyMsg(id, key); });
        m_hHotKey.Register(FrameMsg::kHotKeyId, Qt::ControlModifier | Qt::AltModifier, Qt::Key_F12);
        g_pMainFrame = this;
        if (m_fnAfterStartup)
            QMetaObject::invokeMethod(this, m_fnAfterStartup, Qt::QueuedConnection);
    } else {
        // Shown over the splash, which stays up until the frame goes. The modal run then
        // does not start at all: the application ends with a failure status.
        ShowErrorMessage(TextMsg::kInitializeFail);
        m_bInitFailed = true;
    }
    return true;
}

int CGUIGDIPlusMfcFrameMain::APIPR_Initialize() {
    if (!m_hSplash.IsCreated()) {
        m_hSplash.SetModuleDir(m_strModuleDir);
        m_hSplash.Create(this);
    }
    m_hSplash.show();

    // Lets the splash paint and stay up.
    WaitWithMessagePump(kSplashWait);

    m_strSkinDir = SkinDirectoryIn(m_strModuleDir);
    if (!BuildControls()) return 0;

    const QString path = m_strSkinDir + kBackground;
    if (!QFileInfo::exists(path)) return 0;
    if (!LoadBKImage(0, QStringLiteral("PNG"), path, 0, 0)) return 0;

    m_strBrandName = kBrand;
    SetTitleText(kVersionText);
    RZ8_TRACE("[D]APIPR_Initialize  %s\n", qUtf8Printable(kVersionText));
    RZ8_TRACE("[D]APIPR_Initialize  %s\n", qUtf8Printable(kVersionText));
    RZ8_TRACE("[D]");
    RZ8_TRACE("[D]");

    m_wHPIXEL = 0;
    m_wVPIXEL = 0;
    m_strUserRes[0] = UserResStartupText(m_wHPIXEL, m_wVPIXEL).left(kUserResMaxChars);

    BuildSliderResInfo();
    APIPR_SliderResPosAssignment(m_hCurRZ8Full);
    EnableAllCtrl(false);

    SendFrameMessage(FrameMsg::kPlaceWindow, 0, 0);

    m_hSplash.hide();
    return 1;
}

void CGUIGDIPlusMfcFrameMain::SetTitleText(const QString& text) {
    const QString title = QStringLiteral("%1 - %2").arg(m_strBrandName, text).left(kTitleMaxChars);
    m_hGUICtrlText[0].SetText(title);
    setWindowTitle(title);
    RZ8_TRACE("[D]%s\n", qUtf8Printable(title));
}

void CGUIGDIPlusMfcFrameMain::WaitWithMessagePump(std::chrono::milliseconds duration) {
    kztr::Clock& clock = GetClock();
    const auto start = clock.now();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (clock.now() - start >= duration) break;
        // A short rest instead of spinning a core; on a test clock this is virtual time.
        clock.sleepFor(std::chrono::milliseconds(1));
    }
}

long CGUIGDIPlusMfcFrameMain::OnPlaceWindow() {
    RepaintFrame();
    ShowOnPlacementArea();
    // Lowest values of vertical rate, horizontal blank and horizontal offset.
    for (int i : {kEditVRate, kEditHBlank, kEditHOffset})
        m_hGUICtrlEditBox[i].SetNumber(m_hGUICtrlEditBox[i].m_iMin);
    // Show them now rather than at the next pointer move.
    RepaintFrame();
    return 0;
}
