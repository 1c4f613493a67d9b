#pragma once
// The frame's two standard dialogs, answered by the test: each call is recorded and
// answered by the script (OK with the script's values unless told to cancel).
#include "StdDialogs.h"

#include <functional>
#include <vector>

class ScriptedDialogs : public StdDialogs {
public:
    struct IdentifyCall {
        uint8_t count;
        uint8_t initial;
    };

    // Durations dialog: what it opened on, and how it ends.
    int settingCalls = 0;
    SettingDurationInfo settingShown{};
    bool settingOk = false;
    SettingDurationInfo settingAnswer{};
    // Box-ID dialog.
    std::vector<IdentifyCall> identifyCalls;
    bool identifyOk = true;
    uint8_t identifyAnswer = 1;
    // Runs inside either dialog, as if the operator did something while it is open.
    std::function<void()> whileOpen;

    int RunSettingDlg(SettingDurationInfo& setting, QWidget*) override {
        ++settingCalls;
        settingShown = setting;
        if (whileOpen) whileOpen();
        if (!settingOk) return IDCANCEL;
        setting = settingAnswer;
        return IDOK;
    }
    int RunDevBoxIdentifyDlg(uint8_t count, uint8_t& boxId, QWidget*) override {
        identifyCalls.push_back({count, boxId});
        if (whileOpen) whileOpen();
        if (!identifyOk) return IDCANCEL;
        boxId = identifyAnswer;
        return IDOK;
    }
};
