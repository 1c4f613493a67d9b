#pragma once
// The records the panel and kztrctl's session work on, beside the controllers' own
// exchanges: the configuration as shown and to be written (m_hCurRZ8Full), as read before
// an Apply or a command (m_hOldRZ8Full), as the controller was last written or read
// (m_hDevRZ8Full), and the read target of the connect and the diagnostic reads
// (m_hTmpRZ8Full); the box mode that picks the slider's resolution list; the user-defined
// width and height, typed or taken from what a controller answered
// (CRZ8Exchange::ReportedHPixel).
#include "RZ8Full.h"
#include "RZ8Models.h"

#include <cstdint>

struct CRZ8Records {
    RZ8Full m_hCurRZ8Full{};
    RZ8Full m_hOldRZ8Full{};
    RZ8Full m_hDevRZ8Full{};
    RZ8Full m_hTmpRZ8Full{};
    // Unlisted until a connect reads a controller's model.
    uint8_t m_hRZ8DevBoxMode = BOXMODE_UNKNOWN;
    uint16_t m_wHPIXEL = 0;
    uint16_t m_wVPIXEL = 0;
};
