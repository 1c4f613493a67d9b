// The resolution labels beside the slider and the thumb on the shown record's mode.
#include "DebugTrace.h"
#include "GUIGDIPlusMfcFrameMain.h"

namespace {
// Labels stand right of the thumb, as high as a number box.
constexpr int kLabelLeft = 299;
constexpr int kLabelRight = 380;
constexpr int kLabelHeight = 19;
} // namespace

void CGUIGDIPlusMfcFrameMain::APIPR_SliderResPosAssignment(const RZ8Full& hRecord) {
    m_hGUICtrlSliderRes.GetTicks(m_vecSliderTickPos);

    const int nType = SliderListForBoxMode(m_hRZ8DevBoxMode);
    RZ8_TRACE("[D][HB]APIPR_SliderResPosAssignment nType=%d m_hRZ8DevBoxMode=%d\n", nType,
              m_hRZ8DevBoxMode);
    const std::vector<SliderResInfo>& list = m_vecSliderResInfo[size_t(nType)];

    const int mode = hRecord.hRZ8Data.I_output_mode;
    RZ8_TRACE("[D]APIPR_SliderResPosAssignment new m_hGUICtrlSliderRes ResolutionCount=%d\n", mode);
    // A mode outside the ticks leaves the thumb where it was.
    m_hGUICtrlSliderRes.SetPos(mode);
    RZ8_TRACE("[D]APIPR_SliderResPosAssignment h=%d v=%d ResolutionCount=%d\n", m_wHPIXEL,
              m_wVPIXEL, kSliderPositionCount);

    for (int i = 0; i < kTextResCount; ++i) {
        if (i < kUserResPosition) {
            if (size_t(i) < list.size())
                m_hGUICtrlTextRes[i].SetText(list[size_t(i)].strResolution);
        } else {
            // The user-defined entry shows in the two number boxes, not in its label.
            m_hGUICtrlEditBox[kEditHPixel].SetNumber(m_wHPIXEL);
            m_hGUICtrlEditBox[kEditVPixel].SetNumber(m_wVPIXEL);
            RZ8_TRACE("[D][SET GUI USER HV]APIPR_SliderResPosAssignment update h=%d v=%d "
                      "ResolutionCount=%d\n",
                      m_wHPIXEL, m_wVPIXEL, kSliderPositionCount);
        }
        if (size_t(i) < m_vecSliderTickPos.size()) {
            const int t = m_vecSliderTickPos[size_t(i)];
            m_hGUICtrlTextRes[i].SetRect(kLabelLeft, t, kLabelRight, t + kLabelHeight);
        }
    }
}
