#pragma once
// The main frame: one skinned panel that owns the running system (durations, paths,
// records, device links, catalogue, every control of the panel and the splash) and is
// run modally by the application.
#include "Clock.h"
#include "GUIGDIPlusMfcBaseDlg.h"
#include "GUIGDIPlusMfcBtnRepeat.h"
#include "GUIGDIPlusMfcCtrlBtn.h"
#include "GUIGDIPlusMfcCtrlChkBox.h"
#include "GUIGDIPlusMfcCtrlEditBox.h"
#include "GUIGDIPlusMfcCtrlImage.h"
#include "GUIGDIPlusMfcCtrlRdoBtn.h"
#include "GUIGDIPlusMfcCtrlSlider.h"
#include "GUIGDIPlusMfcCtrlSwitch.h"
#include "GUIGDIPlusMfcCtrlText.h"
#include "GUIGDIPlusMfcFrameSplash.h"
#include "ModuleDirectory.h"
#include "RZ8DeviceLink.h"
#include "SettingFile.h"

#include <chrono>
#include <functional>
#include <vector>

class CGUIGDIPlusMfcFrameMain : public CGUIGDIPlusMfcBaseDlg, public CRZ8DeviceLink {
    Q_OBJECT
public:
    // Sizes of the control groups.
    static constexpr int kTextCount = 32;
    static constexpr int kTextResCount = 10;
    static constexpr int kDevBoxCount = 16;
    static constexpr int kShadowCount = 2;
    static constexpr int kSwitchCount = 3;
    static constexpr int kBtnCount = 21;
    static constexpr int kEDIDCount = 4;
    static constexpr int kEditBoxCount = 9;
    // Push buttons from this index on are the +/- adjusters (they repeat while held).
    static constexpr int kFirstAdjusterBtn = 7;
    // How long the splash shows before the panel is built.
    static constexpr std::chrono::milliseconds kSplashWait{2500};
    // Exit status of the application after a failed start-up.
    static constexpr int kInitFailedStatus = 1;

    // Indices of the push buttons, switches and number boxes the frame names.
    enum { kBtnExit = 0, kBtnHWReset = 1, kBtnSWReset = 2, kBtnIdentify = 3, kBtnSetting = 4 };
    enum { kSwitchSerialCOM = 0, kSwitchPattern = 1, kSwitchRGBW = 2 };
    enum { kEditHPixel = 0, kEditVPixel = 1, kEditVRate = 2, kEditHBlank = 3, kEditHOffset = 4 };

    // moduleDir: where the skin, the settings file and the log directory live; the
    // executable's directory unless a test says otherwise. clock: the time of the
    // splash wait, the adjuster repeat and the device exchanges. Reads the durations
    // from the settings file.
    explicit CGUIGDIPlusMfcFrameMain(const QString& moduleDir = GetModuleDirectory(),
                                     kztr::Clock& clock = kztr::systemClock());
    ~CGUIGDIPlusMfcFrameMain() override;

    // Runs the frame modally; its initialisation runs once, before the window shows.
    int exec() override;

    // Ends the window: the shutdown clean-up, once. The application calls it when the
    // modal run returns, whatever ended it; the destructor calls it if nobody did.
    void DestroyWindow();

    // The quit message: queued, it ends the modal run (and any loop nested in it) once
    // the current handler has returned; the application then shuts down.
    void PostQuitMessage();

    // Runs once, queued, after a successful start-up (the panel is shown by then).
    void SetAfterStartup(std::function<void()> fn) { m_fnAfterStartup = std::move(fn); }
    // True once a start-up has failed; the application then ends with a failure status.
    bool InitFailed() const { return m_bInitFailed; }

    // Builds every control from the skin; 1 when every image loaded, else 0.
    int BuildControls();
    // Redraws the whole panel and shows it.
    void RepaintFrame() override;

    // Start-up: splash, skin, panel, title, catalogue, not-connected state, placement.
    // 1 on success, 0 on failure (the splash is then left on screen).
    int APIPR_Initialize();
    // "<brand> - <text>" into the title label.
    void SetTitleText(const QString& text);
    // Keeps the thread's events flowing for the given time, measured on the frame's clock.
    void WaitWithMessagePump(std::chrono::milliseconds duration);

    // Resolution labels beside the slider's ticks, thumb to the record's output mode,
    // the user-defined width and height into their boxes.
    void APIPR_SliderResPosAssignment(const RZ8Full& hRecord);
    // Enables or disables every control but the title, the Exit button and the
    // serial-COM switch.
    void EnableAllCtrl(bool bEnable);

    // Exit button: ends the modal run with status 0.
    long OnCtrlBtnMsgExit(std::uintptr_t wParam, std::intptr_t lParam);

    SettingDurationInfo m_hSetting;
    QString m_strSettingFile; // <module dir>/KZTRSettingFile.kzt
    QString m_strModuleDir;

    // The panel's control groups (see the layout for every descriptor).
    CGUIGDIPlusMfcCtrlText m_hGUICtrlText[kTextCount];
    CGUIGDIPlusMfcCtrlText m_hGUICtrlTextRes[kTextResCount];
    CGUIGDIPlusMfcCtrlText m_hGUICtrlTextDevBox[kDevBoxCount];
    CGUIGDIPlusMfcCtrlImage m_hGUICtrlImageShadow[kShadowCount];
    CGUIGDIPlusMfcCtrlChkBox m_hGUICtrlChkBox[1];
    CGUIGDIPlusMfcCtrlSwitch m_hGUICtrlSwitch[kSwitchCount];
    CGUIGDIPlusMfcCtrlBtn m_hGUICtrlBtn[kBtnCount];
    CGUIGDIPlusMfcCtrlRdoBtn m_hGUICtrlRdoBtnDevBox[kDevBoxCount];
    CGUIGDIPlusMfcCtrlRdoBtn m_hGUICtrlRdoBtnHPol[2];
    CGUIGDIPlusMfcCtrlRdoBtn m_hGUICtrlRdoBtnVPol[2];
    CGUIGDIPlusMfcCtrlRdoBtn m_hGUICtrlRdoBtnColor[2];
    CGUIGDIPlusMfcCtrlRdoBtn m_hGUICtrlRdoBtnAudio[2];
    CGUIGDIPlusMfcCtrlRdoBtn m_hGUICtrlRdoBtnEDID[kEDIDCount];
    CGUIGDIPlusMfcCtrlSlider m_hGUICtrlSliderRes;
    CGUIGDIPlusMfcCtrlEditBox m_hGUICtrlEditBox[kEditBoxCount];

    // Whole-panel backgrounds: connected and not-connected looks.
    SkinImagePtr m_pImageBKEn;
    SkinImagePtr m_pImageBKDs;
    // 0 no shade, 1 the setting shade, 2 the pure shade; the mouse is ignored unless 0.
    int m_nShadeMode = 0;

    // Apply to every controller when set.
    bool m_bDevSettingSync = true;
    // The slider's tick coordinates, as the resolution labels were last placed.
    std::vector<int> m_vecSliderTickPos;
    QString m_strBrandName;

    CGUIGDIPlusMfcFrameSplash m_hSplash;
    CGUIGDIPlusMfcBtnRepeat m_hBtnRepeat;

public slots:
    void accept() override; // IDOK: does nothing
    void reject() override; // IDCANCEL, window close: ends the modal run

protected:
    // The window exists but is not shown yet. Returns true in every case; a failed
    // start-up shows its error box and posts the quit itself.
    bool OnInitDialog();
    // The clean-up of window destruction, in shutdown order.
    void OnDestroy();

    long OnFrameMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    // Enter and Escape are swallowed: neither may close the panel.
    void keyPressEvent(QKeyEvent* e) override;

private:
    // Window placement (sent once by the start-up).
    long OnPlaceWindow();
    // Registers the groups with the mouse routing, in the frame's order.
    void SetupMouseRouting();
    // The busy latch of the control that sent msg with wParam; nullptr when unknown.
    IGUIGDIPlusMfcCtrl* NotifyingCtrl(std::uint32_t msg, std::uintptr_t wParam);

    bool m_bInitDone = false;
    bool m_bInitFailed = false;
    bool m_bDestroyed = false;
    std::function<void()> m_fnAfterStartup;
};
