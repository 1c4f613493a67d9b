#pragma once
// The box-ID dialog: the operator picks which of count boxes (IDs 1 ... count) to work on.
#include <QDialog>

#include <cstdint>

class QComboBox;

class CStdMfcDevBoxIdentifyDlg : public QDialog {
    Q_OBJECT
public:
    // The list opens on its first entry whatever *pResult holds; only OK writes *pResult.
    CStdMfcDevBoxIdentifyDlg(uint8_t count, uint8_t* pResult, QWidget* parent = nullptr);

private:
    void OnOK();

    uint8_t m_uCount;
    uint8_t m_uBoxId;
    uint8_t* m_pResult;
    QComboBox* m_pIdList = nullptr;
};
