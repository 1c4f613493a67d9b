#pragma once
// The fixed texts of the main window: the label list (initial texts of the panel's
// labels) and the message list (texts of the error boxes), filled once at start-up
// and read by index. Texts are handed out as copies.
#include <QString>
#include <QStringList>
#include <cstdint>

class GUITextTable {
public:
    static constexpr int kLabelCount = 31;
    static constexpr int kMessageCount = 14;

    // The process-wide table.
    static GUITextTable& Instance();

    // Fills both lists; called once by the application before the frame exists.
    void Fill();

    int LabelCount() const { return static_cast<int>(m_vecLabel.size()); }
    int MessageCount() const { return static_cast<int>(m_vecMessage.size()); }

    // An index outside the list gives an empty text (and a trace line), never a crash.
    QString GetLabel(int index) const;
    QString GetMessage(int index) const;

private:
    QStringList m_vecLabel;
    QStringList m_vecMessage;
};

// Indices into the message list that operations show.
namespace TextMsg {
inline constexpr int kSerialComInitFail = 0;
inline constexpr int kSerialComDisconnect = 1;
inline constexpr int kInitializeFail = 2;
inline constexpr int kPatternOnFail = 3;
inline constexpr int kPatternOffFail = 4;
inline constexpr int kSwitchDeviceFail = 5;
inline constexpr int kHwResetFailA001 = 6;
inline constexpr int kHwResetFailA002 = 7;
inline constexpr int kSwResetFailA001 = 8;
inline constexpr int kSwResetFailA002 = 9;
inline constexpr int kApplyFailA001 = 10;
inline constexpr int kApplyFailA002 = 11;
inline constexpr int kApplyFailA003 = 12;
inline constexpr int kApplyFailA004 = 13;
} // namespace TextMsg

// Text of a device column: firmware version, COM number and box ID, one per line.
QString FormatDeviceBoxText(uint8_t fwVersion, uint8_t comNumber, uint8_t boxId);
