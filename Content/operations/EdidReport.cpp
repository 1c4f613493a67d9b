#include "EdidReport.h"

#include "CtlSession.h"
#include "EdidDecoder.h"
#include "RZ8Models.h"

#include <algorithm>

QString HexByte(uint8_t v) {
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
}

QStringList EdidReportLines(const EdidReadout& readout) {
    QStringList report;
    const QByteArray& edid = readout.bytes;
    const auto* bytes = reinterpret_cast<const uint8_t*>(edid.constData());
    const int length = int(edid.size());
    if (readout.controller) report << CtlSession::ControllerLine(*readout.controller);
    report << QStringLiteral("EDID: %1 bytes").arg(length);
    for (int line = 0; line < length; line += 16) {
        QStringList row;
        for (int i = line; i < std::min(line + 16, length); ++i)
            row << HexByte(bytes[i]);
        report << QStringLiteral("%1: %2").arg(
            QStringLiteral("%1").arg(line, 4, 16, QLatin1Char('0')).toUpper(), row.join(' '));
    }
    if (!readout.whole()) return report;

    const BlockChecksumResult& sums = readout.sums;
    const auto verdict = [](bool ok) {
        return ok ? QStringLiteral("ok") : QStringLiteral("MISMATCH");
    };
    report << QStringLiteral("header         %1").arg(readout.headerOk ? "ok" : "BROKEN");
    report << QStringLiteral("checksum0      expected %1, read %2: %3")
                  .arg(HexByte(sums.checksum0), HexByte(sums.read0), verdict(sums.ok0()));
    if (readout.hasExtension)
        report << QStringLiteral("checksum1      expected %1, read %2: %3")
                      .arg(HexByte(sums.checksum1), HexByte(sums.read1), verdict(sums.ok1()));
    if (readout.hasExtension && sums.hasDid)
        report << QStringLiteral("checksumdid    expected %1, read %2: %3")
                      .arg(HexByte(sums.checksumdid), HexByte(sums.readdid), verdict(sums.okDid()));
    const QString polarity = PolarityText(readout.syncFlags);
    report << QStringLiteral("sync polarity  %1 (byte %2 = %3)")
                  .arg(polarity.isEmpty() ? QStringLiteral("not digital separate sync") : polarity,
                       QString::number(RZ8_EDID_SYNC_FLAGS_OFFSET), HexByte(readout.syncFlags));
    report << DescribeEdid(DecodeEdid(bytes, size_t(length)));
    return report;
}
