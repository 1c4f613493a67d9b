// The durations reader on arbitrary file contents, through its in-memory entry point.
// Checked against a decoding written out here: the first 12 bytes replace the leading
// bytes of the record as it was (three signed 32-bit little-endian values), the rest of
// the record stays, and bytes past 12 are ignored.
#include "FuzzSupport.h"
#include "SettingFile.h"

#include <QBuffer>
#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

void ToBytes(const SettingDurationInfo& r, uint8_t* out) {
    const int32_t values[3] = {r.iPatternSec, r.iIdentifySec, r.iApplyConfirmSec};
    for (int v = 0; v < 3; ++v)
        for (int i = 0; i < 4; ++i)
            out[4 * v + i] = uint8_t(uint32_t(values[v]) >> (8 * i));
}

int32_t FromBytes(const uint8_t* in) {
    return int32_t(uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 |
                   uint32_t(in[3]) << 24);
}

void CheckRead(const QByteArray& content, const SettingDurationInfo& before) {
    QBuffer buffer;
    buffer.setData(content);
    FUZZ_CHECK(buffer.open(QIODevice::ReadOnly));
    SettingDurationInfo record = before;
    FUZZ_CHECK(ReadSettingDevice(buffer, QStringLiteral("fuzz input"), record) == 1);

    uint8_t expected[kSettingFileSize];
    ToBytes(before, expected);
    const size_t n = std::min<size_t>(size_t(content.size()), kSettingFileSize);
    std::memcpy(expected, content.constData(), n);
    FUZZ_CHECK(record.iPatternSec == FromBytes(expected));
    FUZZ_CHECK(record.iIdentifySec == FromBytes(expected + 4));
    FUZZ_CHECK(record.iApplyConfirmSec == FromBytes(expected + 8));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kztr::fuzz::FormatAndDropTraces();
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckRead(content, SettingDurationInfo{});
    // A record with every byte different, so a byte taken from the wrong place shows.
    CheckRead(content, SettingDurationInfo{int32_t(0x84838281), 0x08070605, -0x0F0E0D0D});
    return 0;
}
