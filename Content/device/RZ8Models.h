#pragma once
// The model table: what the model letter of a configuration reply says about the
// controller (box mode, label, which port registers it has).
#include <QString>
#include <cstdint>
#include <vector>

// Box modes; the numbers only have to differ (traces print them in decimal).
constexpr uint8_t BOXMODE_UNKNOWN = 0;
constexpr uint8_t BOXMODE_T1T3 = 1;
constexpr uint8_t BOXMODE_T5 = 2;
constexpr uint8_t BOXMODE_T4T5_A = 3;
constexpr uint8_t BOXMODE_T4T5_B = 4;
constexpr uint8_t BOXMODE_T2 = 5;
constexpr uint8_t BOXMODE_T2CLONE = 6;
constexpr uint8_t BOXMODE_NIVRA = 7;

// Letters compare case-sensitively; anything unlisted is BOXMODE_UNKNOWN.
uint8_t BoxModeFromModelLetter(char letter);

// Label format with one %s for the polarity text, e.g. "ZEPH - T5 %s".
const char* ModelLabelFormat(char letter);

// The label of the panel: format filled with the polarity text.
QString ModelLabel(char letter, uint8_t hvPolarity);

// "H/V Polarity:+/-" and friends; empty for a flags byte that is not one of the four.
QString PolarityText(uint8_t hvPolarity);

// Whether the panel offers the user-defined resolution write for this model.
bool ModelHasSetButton(char letter);

// Port-register commands of the model, in the order they are read.
std::vector<uint8_t> PortRegisterCommands(char letter);
