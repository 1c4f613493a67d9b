#include "StdMfcDevBoxIdentifyDlg.h"

#include "StdDialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include <algorithm>

using StdDialogParts::FromDialogUnits;

CStdMfcDevBoxIdentifyDlg::CStdMfcDevBoxIdentifyDlg(uint8_t count, uint8_t* pResult, QWidget* parent)
    : QDialog(parent), m_uCount(count), m_uBoxId(pResult != nullptr ? *pResult : 0),
      m_pResult(pResult) {
    StdDialogParts::SetUpFrame(*this, QStringLiteral("Device-ID Identify"), 169, 55);

    auto* caption = new QLabel(QStringLiteral("Device ID :"), this);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    caption->setGeometry(FromDialogUnits(7, 9, 44, 14));

    m_pIdList = new QComboBox(this);
    m_pIdList->setObjectName(QStringLiteral("1005"));
    m_pIdList->setEditable(false);
    StdDialogParts::PlaceOnRow(m_pIdList, FromDialogUnits(57, 9, 102, 14));

    // The list is sorted as text, so ten and up come between 1 and 2.
    QStringList ids;
    for (int id = 1; id <= m_uCount; ++id)
        ids << QString::number(id);
    std::sort(ids.begin(), ids.end());
    m_pIdList->addItems(ids);
    m_pIdList->setCurrentIndex(ids.isEmpty() ? -1 : 0);

    QPushButton* cancel = nullptr;
    QPushButton* ok = StdDialogParts::AddOkCancel(*this, 56, 110, 32, &cancel);
    connect(ok, &QPushButton::clicked, this, &CStdMfcDevBoxIdentifyDlg::OnOK);

    setTabOrder(m_pIdList, ok);
    setTabOrder(ok, cancel);
    m_pIdList->setFocus();

    StdDialogParts::SwallowEnterKeys(*this);
}

void CStdMfcDevBoxIdentifyDlg::OnOK() {
    // The low byte of what the list shows; an empty list gives 0.
    m_uBoxId =
        static_cast<uint8_t>(StdDialogParts::LeadingDecimal(m_pIdList->currentText()) & 0xFF);
    if (m_pResult != nullptr) *m_pResult = m_uBoxId;
    accept();
}
