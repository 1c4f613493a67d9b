#include "StdMfcSettingDlg.h"

#include "StdDialogs.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

using StdDialogParts::FromDialogUnits;

namespace {

// Shortest choice of the pattern and identify lists, and of the countdown list.
constexpr int kShortestPatternSec = 2;
constexpr int kShortestApplyConfirmSec = 15;
constexpr int kLongestSec = 120;

// Fills first ... kLongestSec and selects value; a value not listed selects nothing.
void FillSeconds(QComboBox* list, int first, int value) {
    for (int sec = first; sec <= kLongestSec; ++sec)
        list->addItem(QString::number(sec));
    list->setCurrentIndex(value >= first && value <= kLongestSec ? value - first : -1);
}

// Right-aligned, so a font wider than the one the layout was made for grows it leftwards.
QLabel* AddCaption(QWidget* dialog, const QString& text, int x, int y, int width) {
    auto* label = new QLabel(text, dialog);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QRect place = FromDialogUnits(x, y, width, 12);
    place.setLeft(
        std::max(0, place.right() + 1 - std::max(place.width(), label->sizeHint().width())));
    label->setGeometry(place);
    return label;
}

QComboBox* AddList(QWidget* dialog, const char* id, int y) {
    auto* list = new QComboBox(dialog);
    list->setObjectName(QString::fromLatin1(id));
    list->setEditable(false);
    StdDialogParts::PlaceOnRow(list, FromDialogUnits(101, y, 54, 12));
    return list;
}

} // namespace

CStdMfcSettingDlg::CStdMfcSettingDlg(SettingDurationInfo* pSetting, QWidget* parent)
    : QDialog(parent), m_pSetting(pSetting),
      m_stSetting(pSetting != nullptr ? *pSetting : SettingDurationInfo{}) {
    StdDialogParts::SetUpFrame(*this, QStringLiteral("KZTR Setting"), 195, 136);

    auto* group = new QGroupBox(QStringLiteral("Display Duration"), this);
    group->setGeometry(FromDialogUnits(9, 7, 180, 100));

    // Each row: caption, list, unit. The lists are created first to last, which is
    // also the order Tab visits them.
    struct Row {
        const char* caption;
        const char* id;
        int y;
        QComboBox** list;
    };
    const Row rows[] = {
        {"Pattern / RGBW :", "1004", 26, &m_pPatternList},
        {"Identify Pattern :", "1006", 52, &m_pIdentifyList},
        {"Apply Confirm Dialog :", "1005", 78, &m_pApplyConfirmList},
    };
    for (const Row& row : rows) {
        AddCaption(this, QString::fromLatin1(row.caption), 17, row.y, 78);
        *row.list = AddList(this, row.id, row.y);
        auto* unit = new QLabel(QStringLiteral("Sec."), this);
        unit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        unit->setGeometry(FromDialogUnits(159, row.y, 26, 12));
    }
    FillSeconds(m_pPatternList, kShortestPatternSec, m_stSetting.iPatternSec);
    FillSeconds(m_pIdentifyList, kShortestPatternSec, m_stSetting.iIdentifySec);
    FillSeconds(m_pApplyConfirmList, kShortestApplyConfirmSec, m_stSetting.iApplyConfirmSec);

    QPushButton* cancel = nullptr;
    QPushButton* ok = StdDialogParts::AddOkCancel(*this, 77, 138, 115, &cancel);
    connect(ok, &QPushButton::clicked, this, &CStdMfcSettingDlg::OnOK);

    setTabOrder(m_pPatternList, m_pIdentifyList);
    setTabOrder(m_pIdentifyList, m_pApplyConfirmList);
    setTabOrder(m_pApplyConfirmList, ok);
    setTabOrder(ok, cancel);
    m_pPatternList->setFocus();

    StdDialogParts::SwallowEnterKeys(*this);
}

void CStdMfcSettingDlg::OnOK() {
    // The shown text, not the index: a list showing nothing gives 0.
    m_stSetting.iPatternSec = StdDialogParts::LeadingDecimal(m_pPatternList->currentText());
    m_stSetting.iIdentifySec = StdDialogParts::LeadingDecimal(m_pIdentifyList->currentText());
    m_stSetting.iApplyConfirmSec =
        StdDialogParts::LeadingDecimal(m_pApplyConfirmList->currentText());
    if (m_pSetting != nullptr) *m_pSetting = m_stSetting;
    accept();
}
