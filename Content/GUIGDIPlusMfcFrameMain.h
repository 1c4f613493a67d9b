#pragma once
// The main frame: one skinned panel that owns the running system (durations, paths,
// records, device links, catalogue, every control of the panel and the splash) and is
// run modally by the application.
#include "BoxPlacement.h"
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
#include "GlobalHotKey.h"
#include "ModuleDirectory.h"
#include "RZ8DeviceLink.h"
#include "SettingFile.h"
#include "StdDialogs.h"

#include <QBasicTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
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
    enum {
        kEditHPixel = 0,
        kEditVPixel = 1,
        kEditVRate = 2,
        kEditHBlank = 3,
        kEditHOffset = 4,
        kEditHSyncWidth = 5,
        kEditVBlank = 6,
        kEditVOffset = 7,
        kEditVSyncWidth = 8
    };
    // Labels the frame rewrites: the model label.
    enum { kTextModel = 1 };
    // Push button of the user-defined resolution write.
    enum { kBtnSetUserRes = 6 };
    // Shade modes.
    enum { kShadeNone = 0, kShadeSetting = 1, kShadePure = 2 };

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

    // --- Panel and record ---------------------------------------------------------
    // Puts the record on the panel: radio groups, timing boxes, slider. No record changes.
    void APIPR_UpdateWholeUIFromData(const RZ8Full& hRecord);
    // Takes the timing boxes into hRecord and writes it to the controller (or to every
    // controller with "Device Setting Sync") when it differs from m_hDevRZ8Full; false
    // after a failure whose box has been shown.
    bool APIPR_UpdateWholeDataFromUI(RZ8Full& hRecord);
    // The configuration fields agree (header and param are not compared).
    static bool IsSameRZ8Setting(const RZ8Full& a, const RZ8Full& b);
    static bool IsSameBoxID(const RZ8Full& a, const RZ8Full& b);

    long OnCtrlRdoBtnMsgHorzPolarity(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlRdoBtnMsgVertPolarity(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlRdoBtnMsgColorDepth(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlRdoBtnMsgAudio(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlRdoBtnMsgEDIDVer(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlSliderMsgRes(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlChkBoxMsgDevSettingSync(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgVRateInc(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgVRateDec(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgHBlankInc(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgHBlankDec(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgHOffsetInc(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgHOffsetDec(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgHSyncWidthInc(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgHSyncWidthDec(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgVBlankInc(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgVBlankDec(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgVOffsetInc(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgVOffsetDec(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgVSyncWidthInc(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgVSyncWidthDec(std::uintptr_t wParam, std::intptr_t lParam);

    // --- Connecting ----------------------------------------------------------------
    // Finds the controllers, connects them, reads the first one and fills the panel.
    // 1 connected, 0 failed (every port it opened is closed again).
    int APIPR_UARTOpen();
    // Closes every device link and clears the device columns and the model label.
    void APIPR_UARTClose();
    // The model label.
    void APIPR_SetModelName(const QString& text);
    // The model label's tool tip: the monitor name and preferred timing from the current
    // controller's EDID; empty while not connected.
    QString ModelToolTip() const;
    // The model label's tool tip when (x, y) is on the label.
    QString ToolTipAt(int x, int y, GUIRect& rcOut) const override;

    // --- Device actions ------------------------------------------------------------
    long OnCtrlSwitchMsgSerialCOM(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlSwitchMsgPattern(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlSwitchMsgRGBW(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgIdentify(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlRdoBtnMsgDeviceBox(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgSetting(std::uintptr_t wParam, std::intptr_t lParam);
    // Exit button: ends the modal run with status 0.
    long OnCtrlBtnMsgExit(std::uintptr_t wParam, std::intptr_t lParam);

    // --- Apply, resets, user-defined resolution --------------------------------------
    // Work types of the worker.
    enum { kWorkHWReset = 0, kWorkSWReset = 1, kWorkApply = 2 };
    long OnCtrlBtnMsgHWReset(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgSWReset(std::uintptr_t wParam, std::intptr_t lParam);
    long OnCtrlBtnMsgApply(std::uintptr_t wParam, std::intptr_t lParam);
    // The worker's routine (on the worker thread): Apply with keep-or-revert, or a reset.
    void RZ8SetWorkType_Apply(int nBtn, int nWorkType);
    // The keep-or-revert box over the frame; 0 keep, anything else revert.
    int ShowKeepRevertBox(const QString& message, const QString& countdownFormat, int seconds);
    // Writes the width and height boxes to the controller or controllers.
    long OnCtrlBtnMsgSetUserRes(std::uintptr_t wParam, std::intptr_t lParam);
    // True while a worker runs (from its start to its last step).
    bool IsWorkerActive() const { return m_bWorkerActive.load(); }
    // The keep-or-revert box as tests answer it (the real box unless set).
    void SetKeepRevertBox(std::function<int(const QString&, const QString&, int)> box) {
        m_fnKeepRevertBox = std::move(box);
    }

    // --- Keyboard --------------------------------------------------------------------
    // F5 to F8 diagnostics, F12 from the hot key; 0 when an F6 or F8 send failed.
    long OnKeyDownMsg(int nKey, std::intptr_t lKeyData);
    // The hot key's identity and the key it carries.
    long OnHotKeyMsg(int nHotKeyId, int nKey);

    // --- Pattern timers ------------------------------------------------------------
    // A pattern, RGBW or identify timer fell due: switch the pattern off, give the
    // panel back, and after an identify ask for the new box ID.
    void OnTimer(int nIDEvent);
    // The box-ID dialog after an identify, and the new ID sent to the current controller.
    void AssignBoxIDAfterIdentify();
    // One-shot timers keyed by their identities (1001, 1002, 1003).
    void SetTimer(int nIDEvent, std::chrono::milliseconds period);
    void KillTimer(int nIDEvent);
    bool IsTimerPending(int nIDEvent) const;

    // The dialogs the frame runs (the real ones unless a test installs its own).
    void SetStdDialogs(StdDialogs* dialogs) { m_pStdDialogs = dialogs; }

    // True while a handler runs: the panel then takes no mouse or key input, and
    // notifications and timers that arrive meanwhile wait until it has ended.
    bool InExchange() const { return m_nExchangeDepth > 0; }

    SettingDurationInfo m_hSetting;
    QString m_strSettingFile; // beside the program, or per user when it cannot be written
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
    // 2: the last Apply found nothing to write; 1: it wrote.
    uint16_t m_wApplyChange = 0;
    // The slider's tick coordinates, as the resolution labels were last placed.
    std::vector<int> m_vecSliderTickPos;
    QString m_strBrandName;

    CGUIGDIPlusMfcFrameSplash m_hSplash;
    CGUIGDIPlusMfcBtnRepeat m_hBtnRepeat;
    // Ctrl+Alt+F12 from anywhere: live from the start-up until the link is first closed.
    GlobalHotKey m_hHotKey;
    // Every box opened while the frame lives stays wholly on its screen.
    BoxPlacement m_hBoxPlacement;

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
    void timerEvent(QTimerEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    // Enter and Escape are swallowed: neither may close the panel.
    void keyPressEvent(QKeyEvent* e) override;

private:
    // The notification table: the handler of msg.
    long DispatchFrameMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);
    // Window placement (sent once by the start-up).
    long OnPlaceWindow();
    // Registers the groups with the mouse routing, in the frame's order.
    void SetupMouseRouting();
    // The busy latch of the control that sent msg with wParam; nullptr when unknown.
    IGUIGDIPlusMfcCtrl* NotifyingCtrl(std::uint32_t msg, std::uintptr_t wParam);

    // A pattern is on: the panel is locked but for one switch (none: -1) and the timer
    // that ends it runs.
    void LockPanelForPattern(int nUsableSwitch, int nTimer, std::chrono::milliseconds period);
    // The pattern is off: the panel is the operator's again.
    void UnlockPanelAfterPattern();
    // Pattern and RGBW switches share their handler.
    long SwitchPattern(int nSwitch, uint8_t byOnCode, int nTimer);
    // A failed connect: every port it opened is closed and nothing counts as found.
    int FailUARTOpen();
    // A device box radio's entry becomes current; false when nothing is checked.
    bool MakeCheckedDeviceCurrent();
    // Device column labels from the device links.
    void RewriteDeviceBoxLabels();
    // Timer period from a duration in seconds; a duration below 1 uses the default.
    static std::chrono::milliseconds TimerPeriod(int nSeconds, int nDefaultSeconds);
    // A polarity pair's radio handler: the radios, the bit, the trace lines.
    void SelectPolarity(CGUIGDIPlusMfcCtrlRdoBtn (&group)[2], std::uintptr_t wParam,
                        const char* handler, const char* field, void (RZ8Full::*set)(unsigned),
                        unsigned (RZ8Full::*get)() const);
    // +1 or -1 on a timing box, held within its bounds; clears the button's latch.
    long AdjustBox(int nBox, int nStep, std::uint32_t msg);
    // Error boxes and dialogs: the wait cursor goes first.
    void ShowFrameError(int nMessage);

    // Starts the worker for a button unless it is refused; the button stays latched
    // until the worker frees it.
    long StartWorker(std::uintptr_t wParam, int nWorkType);
    static void RZ8WorkThreadProc(CGUIGDIPlusMfcFrameMain* pFrame);
    void ApplyWork(uint8_t byBtn);
    void HWResetWork();
    // The end of every work: shade off, repaint, button free, device link free.
    void EndWork(uint8_t byBtn);
    // Runs fn on the window's thread and waits for it (at once when already there).
    void OnGuiThread(const std::function<void()>& fn);
    // The records F5 traces. While a worker runs it writes them; the window's thread
    // then reads its own copy, taken whenever the worker waits for it.
    struct TracedRecords {
        RZ8Full cur, tmp, old;
    };
    TracedRecords RecordsToTrace() const;
    void CopyRecordsForTrace();
    TracedRecords m_hRecordsSeen{};
    // hRecord sent with byCode to the controllers given (entries of m_hRZ8Dev, in box-ID
    // order) at once, through the wall engine, traceEach traced first on each; 1 or 0 per
    // controller, in that order. The last one is current afterwards.
    std::vector<int> SendToControllers(const std::vector<int>& members, RZ8Full& hRecord,
                                       uint8_t byCode, const char* traceEach = nullptr);
    // The checked controller alone: the same with a set of one; true when it echoed.
    bool SendToCurrentController(RZ8Full& hRecord, uint8_t byCode);
    // hRecord sent with byCode to every open controller at once (see RunOnOpenControllers),
    // traceEach traced first on each; 1 or 0 per controller, in box-ID order.
    std::vector<int> SendToOpenControllers(RZ8Full& hRecord, uint8_t byCode,
                                           const char* traceEach = nullptr);
    // The Set button's counts to the controllers given (entries of m_hRZ8Dev, in box-ID
    // order) at once through the wall engine, with the wall's steps or the one
    // controller's; false when one of them did not take all of them.
    bool SetUserResOn(const std::vector<int>& members, bool wall);
    // One error box per controller that did not answer, in box-ID order.
    void ShowFailures(const std::vector<int>& answered, int nMessage);

    // Exchanges: begun and ended around every handler; the pump of the device link's
    // waits keeps the window painted and shows the wait cursor meanwhile.
    void BeginExchange();
    // A timer that fell due: handled now, or kept until the running handler has ended.
    void HandleTimer(int nIDEvent);
    void EndExchange();
    void PumpDuringExchange();
    void DropWaitCursor();
    struct DeferredMessage {
        std::uint32_t msg;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    int m_nExchangeDepth = 0;
    bool m_bWaitCursor = false;
    std::vector<DeferredMessage> m_vecDeferredMessages;
    std::vector<int> m_vecDeferredTimers;

    QBasicTimer m_hPatternTimer[3]; // 1001, 1002, 1003

    int m_nWorkType = 0;
    int m_nWorkBtn = 0;
    std::thread m_hWorker;
    std::atomic<bool> m_bWorkerActive{false};
    std::function<int(const QString&, const QString&, int)> m_fnKeepRevertBox;
    StdDialogs* m_pStdDialogs = &RealStdDialogs();

    bool m_bInitDone = false;
    bool m_bInitFailed = false;
    bool m_bDestroyed = false;
    std::function<void()> m_fnAfterStartup;
};
