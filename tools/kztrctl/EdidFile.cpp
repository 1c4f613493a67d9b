#include "EdidFile.h"

#include "CtlOutput.h"
#include "EdidReport.h"
#include "JsonOutput.h"
#include "RZ8Frames.h"

#include <QFile>
#include <QStringList>

namespace {

constexpr int kBaseBlock = 128;
constexpr int kTwoBlocks = 256;
const QByteArray kHexMarker = QByteArrayLiteral("edid-decode (hex):");

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool StartsWithHeader(const QByteArray& bytes) {
    return bytes.size() >= 8 && HasEdidHeader(reinterpret_cast<const uint8_t*>(bytes.constData()));
}

// Hex text to bytes; empty with why in error when it is not hex text.
QByteArray FromHexText(const QByteArray& text, QString& error) {
    QByteArray body = text;
    // edid-decode's own dump: the hex follows its marker line and ends where its
    // report begins.
    const qsizetype marker = text.indexOf(kHexMarker);
    if (marker >= 0 && text.left(marker).trimmed().isEmpty()) {
        body.clear();
        bool started = false;
        for (const QByteArray& line : text.mid(marker + kHexMarker.size()).split('\n')) {
            const QByteArray trimmed = line.trimmed();
            if (trimmed.isEmpty() && !started) continue;
            if (trimmed.isEmpty() || !std::all_of(trimmed.begin(), trimmed.end(), [](char c) {
                    return IsHexDigit(c) || IsSpace(c);
                }))
                break;
            started = true;
            body += trimmed + ' ';
        }
    }
    QByteArray digits;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (IsHexDigit(c)) {
            digits += c;
        } else if (!IsSpace(c)) {
            error = QStringLiteral("not an EDID: neither binary (starting 00 FF FF FF FF FF FF "
                                   "00) nor hex text (byte 0x%1 at offset %2 is no hex digit or "
                                   "whitespace)")
                        .arg(uint8_t(c), 2, 16, QLatin1Char('0'))
                        .arg(i);
            return {};
        }
    }
    if (digits.isEmpty()) {
        error = QStringLiteral("not an EDID: the file holds no bytes");
        return {};
    }
    if (digits.size() % 2 != 0) {
        error = QStringLiteral("not an EDID: hex text with an odd number of digits (%1)")
                    .arg(digits.size());
        return {};
    }
    return QByteArray::fromHex(digits);
}

} // namespace

EdidFileRead EdidFromBytes(const QByteArray& contents) {
    EdidFileRead read;
    QByteArray bytes = contents;
    if (contents.isEmpty()) {
        read.error = QStringLiteral("not an EDID: the file is empty");
        return read;
    }
    if (!StartsWithHeader(contents)) {
        bytes = FromHexText(contents, read.error);
        if (bytes.isEmpty()) return read;
    }
    if (bytes.size() < kBaseBlock) {
        read.error = QStringLiteral("not an EDID: %1 bytes, an EDID has at least %2")
                         .arg(bytes.size())
                         .arg(kBaseBlock);
        return read;
    }
    if (!StartsWithHeader(bytes)) {
        read.error = QStringLiteral("not an EDID: it does not start with the EDID header "
                                    "00 FF FF FF FF FF FF 00");
        return read;
    }
    EdidReadout readout;
    readout.bytes = bytes;
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.constData());
    readout.headerOk = true;
    // The checks a controller's 256-byte buffer gets, on the blocks the file has.
    BlockChecksumResult& sums = readout.sums;
    sums.checksum0 = BlockChecksum(b, kBaseBlock - 1);
    sums.read0 = b[kBaseBlock - 1];
    readout.hasExtension = bytes.size() >= kTwoBlocks;
    if (readout.hasExtension) {
        sums.checksum1 = BlockChecksum(b + kBaseBlock, kBaseBlock - 1);
        sums.read1 = b[kTwoBlocks - 1];
        sums.hasDid = b[kBaseBlock] == 0x70;
        if (sums.hasDid) {
            sums.checksumdid = BlockChecksum(b + kBaseBlock + 1, kBaseBlock - 3);
            sums.readdid = b[kTwoBlocks - 2];
        }
    }
    readout.syncFlags = b[RZ8_EDID_SYNC_FLAGS_OFFSET];
    read.readout = readout;
    return read;
}

EdidFileRead ReadEdidFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("cannot read the file: %1").arg(file.errorString())};
    // One byte more than allowed tells a file too long, also where the size is not
    // known beforehand (a device, a pipe).
    const QByteArray contents = file.read(kEdidFileMaxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, QStringLiteral("cannot read the file: %1").arg(file.errorString())};
    if (contents.size() > kEdidFileMaxBytes)
        return {std::nullopt, QStringLiteral("too long for an EDID: longer than %1 KiB (%2 bytes)")
                                  .arg(kEdidFileMaxBytes / 1024)
                                  .arg(kEdidFileMaxBytes)};
    return EdidFromBytes(contents);
}

int RunEdidFile(const CtlRequest& request) {
    const EdidFileRead read = ReadEdidFile(request.edidFile);
    if (!read.readout) {
        CtlNote(QStringLiteral("%1: %2").arg(request.edidFile, read.error));
        return kCtlExitRefused;
    }
    if (request.json)
        CtlPrintRaw(JsonText(EdidReadoutToJson(*read.readout)));
    else
        CtlPrintLines(EdidReportLines(*read.readout));
    return kCtlExitOk;
}
