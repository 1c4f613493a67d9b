#include "GUITextTable.h"

#include "DebugTrace.h"

GUITextTable& GUITextTable::Instance() {
    static GUITextTable table;
    return table;
}

void GUITextTable::Fill() {
    m_vecLabel = QStringList{
        QStringLiteral("Quorvane Control Center Vx.xx - FWVer: Vx.xx"),
        QStringLiteral(" - - - - - - "),
        QStringLiteral("FW:30\nCOM:10\nID:20"),
        QStringLiteral("Device Setting Sync"),
        QStringLiteral("Horz Polarity"),
        QStringLiteral("Positive (+)"),
        QStringLiteral("Positive (-)"),
        QStringLiteral("Vert Polarity"),
        QStringLiteral("Positive (+)"),
        QStringLiteral("Positive (-)"),
        QStringLiteral("Color Depth"),
        QStringLiteral("8 Bit"),
        QStringLiteral("10 Bit"),
        QStringLiteral("Audio Support"),
        QStringLiteral("On"),
        QStringLiteral("Off"),
        QStringLiteral("EDID Version"),
        QStringLiteral("v1.1"),
        QStringLiteral("v1.2"),
        QStringLiteral("v1.3"),
        QStringLiteral("v2.0"),
        QStringLiteral("DP Port -"),
        QStringLiteral("x"),
        QStringLiteral("Parameter -"),
        QStringLiteral("Vertical Rate :"),
        QStringLiteral("Horz Blank :"),
        QStringLiteral("Horz Offset :"),
        QStringLiteral("Horz Sync Width :"),
        QStringLiteral("Vert Blank :"),
        QStringLiteral("Vert Offset :"),
        QStringLiteral("Vert Sync Width :"),
    };
    m_vecMessage = QStringList{
        QStringLiteral("The Serial COM initialize fail.\nPlease check again."),
        QStringLiteral("It found that is disconnect with Serial COM."),
        QStringLiteral("KZTRMaster initialize fail."),
        QStringLiteral("Switch to pattern on is fail."),
        QStringLiteral("Switch to pattern off is fail."),
        QStringLiteral("Switch to device fail."),
        QStringLiteral("KZTRMaster hardware reset fail.\nErrorCode = 0xA001"),
        QStringLiteral("KZTRMaster hardware reset fail.\nErrorCode = 0xA002"),
        QStringLiteral("KZTRMaster software reset fail.\nErrorCode = 0xA001"),
        QStringLiteral("KZTRMaster software reset fail.\nErrorCode = 0xA002"),
        QStringLiteral("KZTRMaster apply fail.\nErrorCode = 0xA001"),
        QStringLiteral("KZTRMaster apply fail.\nErrorCode = 0xA002"),
        QStringLiteral("KZTRMaster apply fail.\nErrorCode = 0xA003"),
        QStringLiteral("KZTRMaster apply fail.\nErrorCode = 0xA004"),
    };
}

QString GUITextTable::GetLabel(int index) const {
    if (index < 0 || index >= m_vecLabel.size()) {
        RZ8_TRACE("[D]GUITextTable::GetLabel index %d outside %d labels\n", index,
                  static_cast<int>(m_vecLabel.size()));
        return {};
    }
    return m_vecLabel.at(index);
}

QString GUITextTable::GetMessage(int index) const {
    if (index < 0 || index >= m_vecMessage.size()) {
        RZ8_TRACE("[D]GUITextTable::GetMessage index %d outside %d messages\n", index,
                  static_cast<int>(m_vecMessage.size()));
        return {};
    }
    return m_vecMessage.at(index);
}

QString FormatDeviceBoxText(uint8_t fwVersion, uint8_t comNumber, uint8_t boxId) {
    return QString::asprintf("FW: %d\nCOM: %d\nBoxID: %d", fwVersion, comNumber, boxId);
}
