#include "GUITextTable.h"

#include "DebugTrace.h"

namespace {
// An index outside the list is traced and gives an empty text.
QString Entry(const QStringList& list, int index, const char* getter, const char* noun) {
    if (index < 0 || index >= list.size()) {
        RZ8_TRACE("[D]GUITextTable::%s index %d outside %d %s\n", getter, index,
                  static_cast<int>(list.size()), noun);
        return {};
    }
    return list.at(index);
}
} // namespace

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
    return Entry(m_vecLabel, index, "GetLabel", "labels");
}

QString GUITextTable::GetMessage(int index) const {
    return Entry(m_vecMessage, index, "GetMessage", "messages");
}

QString FormatDeviceBoxText(uint8_t fwVersion, uint8_t comNumber, uint8_t boxId) {
    return QString::asprintf("FW: %d\nCOM: %d\nBoxID: %d", fwVersion, comNumber, boxId);
}
