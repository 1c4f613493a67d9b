#include "ResolutionCatalogue.h"

#include "RZ8Models.h"

namespace {
constexpr int kFixedPositions = kSliderPositionCount - 1;

// Fixed texts per list, slider position 0 first. "4098 x 768" is what the controllers use.
const char* const kFixedTexts[kResolutionListCount][kFixedPositions] = {
    {"3840 x 1024", "4098 x 768", "4320 x 900", "4320 x 1050", "4800 x 900", "4800 x 1200",
     "5040 x 1050", "5760 x 1080", "5760 x 1200"},
    {"5120 x 1024", "5464 x 768", "5760 x 900", "5760 x 1050", "6400 x 900", "6400 x 1200",
     "6720 x 1050", "7680 x 1080", "7680 x 1200"},
    {"2560 x 1024", "2732 x 768", "2880 x 900", "2880 x 1050", "3200 x 900", "3200 x 1200",
     "3360 x 1050", "3840 x 1080", "3840 x 1200"},
    {"1280 x 1024", "1366 x 768", "1440 x 900", "1440 x 1050", "1600 x 900", "1600 x 1200",
     "1680 x 1050", "1920 x 1080", "1920 x 1200"},
    {"5120 x 1024", "5464 x 768", "5760 x 900", "5760 x 1050", "6400 x 900", "6400 x 1200",
     "7680 x 1080", "7680 x 1200", "7680 x 2160"},
};

// Lists 1 and 4 are both quadruple width and share one user text.
constexpr int kUserTextOfList[kResolutionListCount] = {0, 1, 2, 3, 1};
} // namespace

void CResolutionCatalogue::BuildSliderResInfo() {
    for (int list = 0; list < kResolutionListCount; ++list) {
        std::vector<SliderResInfo>& entries = m_vecSliderResInfo[list];
        entries.clear();
        for (int pos = 0; pos < kFixedPositions; ++pos)
            entries.push_back({uint8_t(pos), QString::fromLatin1(kFixedTexts[list][pos])});
        entries.push_back({uint8_t(kUserResPosition), m_strUserRes[kUserTextOfList[list]]});
    }
}

QString CResolutionCatalogue::ResolutionText(int list, int position) const {
    if (list < 0 || list >= kResolutionListCount) return QString();
    const std::vector<SliderResInfo>& entries = m_vecSliderResInfo[list];
    if (position < 0 || position >= int(entries.size())) return QString();
    return entries[position].strResolution;
}

int SliderListForBoxMode(uint8_t boxMode) {
    switch (boxMode) {
    case BOXMODE_T4T5_A:
    case BOXMODE_T4T5_B:
    case BOXMODE_NIVRA:
        return 1;
    case BOXMODE_T2:
        return 2;
    case BOXMODE_T2CLONE:
        return 3;
    case BOXMODE_T5:
        return 4;
    default:
        return 0;
    }
}

QString UserResStartupText(uint16_t width, uint16_t height) {
    return QString::asprintf("%04d * %04d", int(width), int(height));
}

QString UserResText(uint16_t width, uint16_t height) {
    return QString::asprintf("%d * %d", int(width), int(height));
}
