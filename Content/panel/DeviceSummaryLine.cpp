#include "DeviceSummaryLine.h"

QString FormatDeviceSummaryLine(uint8_t boxId, const RZ8Full& record, uint16_t hBlank,
                                const std::vector<SliderResInfo>& resolutions) {
    const RZ8Data& d = record.hRZ8Data;
    const int mode = d.I_output_mode;
    QString resolution;
    if (mode >= 0 && mode < int(resolutions.size())) resolution = resolutions[mode].strResolution;

    QString line;
    // At least two digits: "01", "10", "255".
    line += QString::asprintf("%s (ID = %02d)", qUtf8Printable(kVersionText), boxId);
    line += QStringLiteral(" - ");
    line += QStringLiteral("; ");
    line += QString::asprintf("VR = %dHz; ", record.VRHz());
    line += QString::asprintf("HLimited = %d; ", int(hBlank));
    line += QString::asprintf("VLimited = %d; ", int(int8_t(d.iVLimit)));
    line += QString::asprintf(" Audio = %s ;", record.audiobit() ? "ON" : "OFF");
    line += QString::asprintf(" Cmd=%d DP=%d ", int(record.cmd), mode);
    line += QStringLiteral("[UP PORT]");
    line += resolution;
    line += QStringLiteral("; ");
    return line;
}
