#pragma once
// The durations dialog: how long the test and RGBW patterns, the identify pattern and the
// keep-or-revert countdown stay on, each picked from a list of whole seconds.
#include "SettingFile.h"

#include <QDialog>

class QComboBox;

class CStdMfcSettingDlg : public QDialog {
    Q_OBJECT
public:
    // Works on a copy of *pSetting taken here; only OK writes it back.
    explicit CStdMfcSettingDlg(SettingDurationInfo* pSetting, QWidget* parent = nullptr);

private:
    void OnOK();

    SettingDurationInfo* m_pSetting;
    SettingDurationInfo m_stSetting;
    QComboBox* m_pPatternList = nullptr;
    QComboBox* m_pIdentifyList = nullptr;
    QComboBox* m_pApplyConfirmList = nullptr;
};
