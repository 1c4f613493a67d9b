#pragma once
// The resolution catalogue behind the slider: five lists of ten positions, the
// user-defined entries and which list a controller's box mode uses.
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

struct SliderResInfo {
    uint8_t nSliderPos;
    QString strResolution;
};

constexpr int kResolutionListCount = 5;
constexpr int kSliderPositionCount = 10;
constexpr int kUserResCount = 4;
constexpr int kUserResPosition = 9;

// Plain data owned by the main frame: it derives from this, so the members keep their names.
class CResolutionCatalogue {
public:
    std::array<std::vector<SliderResInfo>, kResolutionListCount> m_vecSliderResInfo;
    std::array<QString, kUserResCount> m_strUserRes;

    // Rebuilds every list from the fixed texts and m_strUserRes.
    void BuildSliderResInfo();

    // Text of a position; empty for a list or position that does not exist.
    QString ResolutionText(int list, int position) const;
};

// The list (nType) that the panel offers for a box mode.
int SliderListForBoxMode(uint8_t boxMode);

// User text at start-up, zero-padded: "0000 * 0000".
QString UserResStartupText(uint16_t width, uint16_t height);
// User text after a connect or a Set: "1920 * 1080".
QString UserResText(uint16_t width, uint16_t height);
