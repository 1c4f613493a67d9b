#pragma once
// Message identities of the skinned frames, in one place. A control's notification is
// posted to its frame with wParam = the control's index in its group and lParam = 0.
#include <cstdint>

namespace FrameMsg {

constexpr std::uint32_t kWmUser = 0x0400;

// Check box "Device Setting Sync".
constexpr std::uint32_t kChkBoxDevSettingSync = kWmUser + 1;
// Window placement, sent once at start-up.
constexpr std::uint32_t kPlaceWindow = kWmUser + 11;

// Switches.
constexpr std::uint32_t kSwitchSerialCom = kWmUser + 101;
constexpr std::uint32_t kSwitchPattern = kWmUser + 102;
constexpr std::uint32_t kSwitchRgbw = kWmUser + 103;

// Push buttons; the hardware reset message also comes from the hot key.
constexpr std::uint32_t kBtnHWReset = kWmUser + 201;
constexpr std::uint32_t kBtnSWReset = kWmUser + 202;
constexpr std::uint32_t kBtnIdentify = kWmUser + 203;
constexpr std::uint32_t kBtnSetting = kWmUser + 204;
constexpr std::uint32_t kBtnApply = kWmUser + 205;
constexpr std::uint32_t kBtnSetUserRes = kWmUser + 206;
constexpr std::uint32_t kBtnExit = kWmUser + 207;
// The fourteen +/- adjusters: button index i (7..20) posts kWmUser + 201 + i.
constexpr std::uint32_t kBtnAdjustFirst = kWmUser + 208;
constexpr std::uint32_t kBtnAdjustLast = kWmUser + 221;

// Radio groups.
constexpr std::uint32_t kRdoDevBox = kWmUser + 302;
constexpr std::uint32_t kRdoHorzPolarity = kWmUser + 303;
constexpr std::uint32_t kRdoVertPolarity = kWmUser + 304;
constexpr std::uint32_t kRdoColorDepth = kWmUser + 305;
constexpr std::uint32_t kRdoAudioSupport = kWmUser + 306;
constexpr std::uint32_t kRdoEdidVersion = kWmUser + 307;

// Resolution slider.
constexpr std::uint32_t kSliderResolution = kWmUser + 401;

// Keyboard paths: pattern on ('1'..'6'), RGBW on (F1..F6), all patterns off (Escape).
constexpr std::uint32_t kKeyPatternOn = kWmUser + 500;
constexpr std::uint32_t kKeyRgbwOn = kWmUser + 501;
constexpr std::uint32_t kKeyPatternOffAll = kWmUser + 502;

// Timer identities of the main frame.
constexpr int kTimerPattern = 1001;
constexpr int kTimerRgbw = 1002;
constexpr int kTimerIdentify = 1003;

// Identity of the system-wide hot key (Ctrl+Alt+F12).
constexpr int kHotKeyId = 99;

} // namespace FrameMsg
