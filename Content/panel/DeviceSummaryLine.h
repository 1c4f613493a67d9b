#pragma once
// The one line per command sent that goes to the daily log file; it starts with the
// version text.
#include "AppVersion.h"
#include "RZ8Full.h"
#include "ResolutionCatalogue.h"

#include <QString>
#include <cstdint>
#include <vector>

// Line for a record as sent: its cmd and VR are already stamped. hBlank is the frame's
// horizontal blank in host order; the text after "[UP PORT]" is entry I_output_mode of
// resolutions (empty when the mode has no entry).
QString FormatDeviceSummaryLine(uint8_t boxId, const RZ8Full& record, uint16_t hBlank,
                                const std::vector<SliderResInfo>& resolutions);
