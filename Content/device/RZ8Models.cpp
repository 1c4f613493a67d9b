#include "RZ8Models.h"

namespace {
struct ModelRow {
    const char* letters;
    const char* labelFormat;
    uint8_t boxMode;
    bool setButton;
    std::vector<uint8_t> portRegisters;
};

const std::vector<ModelRow>& modelTable() {
    static const std::vector<ModelRow> table = {
        {"Cc", "ZEPH - T1/T3 %s", BOXMODE_T1T3, true, {0x29, 0x2A, 0x2B}},
        {"H", "ZEPH - T5 %s", BOXMODE_T5, true, {0x2D, 0x2E}},
        {"D", "ZEPH - T4/T5 %s", BOXMODE_T4T5_A, true, {0x2D, 0x2E}},
        {"d", "ZEPH - T4/T5 %s", BOXMODE_T4T5_B, true, {0x2C}},
        {"Ee", "ZEPH - T2/T2K %s", BOXMODE_T2, true, {0x2A, 0x2B}},
        {"K", "ZEPH - T2Clone %s", BOXMODE_T2CLONE, true, {0x2A, 0x2B}},
        {"i", "ZEPH - nivraT4 %s", BOXMODE_NIVRA, false, {0x2C}},
    };
    return table;
}

const ModelRow& rowFor(char letter) {
    static const ModelRow unknown = {"", "ZEPH - unknow %s", BOXMODE_UNKNOWN, false, {}};
    if (letter == '\0') return unknown;
    for (const ModelRow& row : modelTable())
        for (const char* l = row.letters; *l; ++l)
            if (*l == letter) return row;
    return unknown;
}
} // namespace

uint8_t BoxModeFromModelLetter(char letter) {
    return rowFor(letter).boxMode;
}

const char* ModelLabelFormat(char letter) {
    return rowFor(letter).labelFormat;
}

QString ModelLabel(char letter, uint8_t hvPolarity) {
    return QString::asprintf(ModelLabelFormat(letter), qUtf8Printable(PolarityText(hvPolarity)));
}

QString PolarityText(uint8_t hvPolarity) {
    switch (hvPolarity) {
    case 0x18:
        return QStringLiteral("H/V Polarity:-/-");
    case 0x1A:
        return QStringLiteral("H/V Polarity:+/-");
    case 0x1C:
        return QStringLiteral("H/V Polarity:-/+");
    case 0x1E:
        return QStringLiteral("H/V Polarity:+/+");
    default:
        return QString();
    }
}

bool ModelHasSetButton(char letter) {
    return rowFor(letter).setButton;
}

std::vector<uint8_t> PortRegisterCommands(char letter) {
    return rowFor(letter).portRegisters;
}
