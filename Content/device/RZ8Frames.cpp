#include "RZ8Frames.h"

#include "DebugTrace.h"
#include "RZ8Ctrl.h"

#include <algorithm>
#include <iterator>

int APIPR_UARTSendData(CRZ8Ctrl* dev, const uint8_t* data, int length) {
    if (length == 1) {
        RZ8_TRACE("[D][Send]APIPR_UARTSendData length=%d : %02x  \n", length, data[0]);
    } else {
        uint8_t b[RZ8_FRAME_LEN] = {};
        std::copy_n(data, std::clamp(length, 0, RZ8_FRAME_LEN), b);
        RZ8_TRACE("[D][Send]APIPR_UARTSendData length=%d : %02x %02x %02x %02x    %02x %02x %02x "
                  "%02x    %02x %02x %02x %02x    %02x %02x %02x %02x     \n",
                  length, b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11],
                  b[12], b[13], b[14], b[15]);
    }
    if (!dev) return 0;
    return dev->APIPU_SendData(data, length);
}

bool HasEdidHeader(const uint8_t* block) {
    return std::equal(std::begin(RZ8_EDID_HEADER), std::end(RZ8_EDID_HEADER), block);
}

uint8_t ByteSum(const uint8_t* bytes, int count) {
    uint8_t sum = 0;
    for (int i = 0; i < count; ++i)
        sum = uint8_t(sum + bytes[i]);
    return sum;
}

uint8_t BlockChecksum(const uint8_t* bytes, int count) {
    return uint8_t(256 - ByteSum(bytes, count));
}

BlockChecksumResult ExamineBlockChecksums(const uint8_t* b) {
    BlockChecksumResult r{};
    r.checksum0 = BlockChecksum(b, 127);
    r.read0 = b[127];
    if (!r.ok0()) {
        RZ8_TRACE("[D]checksum0=%x read =%x", r.checksum0, r.read0);
        RZ8_TRACE("[D]checksum error");
    } else if (b[93] == 0xFC) {
        // The third descriptor names the display: show the start of the name.
        RZ8_TRACE("[D]checksum0=%x read =%x %c%c%c%c  %c", r.checksum0, r.read0, b[95], b[96],
                  b[97], b[98], b[107]);
    } else {
        RZ8_TRACE("[D]checksum0=%x read =%x", r.checksum0, r.read0);
    }

    r.hasDid = b[128] == 0x70;
    if (r.hasDid) {
        r.checksumdid = BlockChecksum(b + 129, 125);
        r.readdid = b[254];
        RZ8_TRACE("[D]checksumdid=%x read =%x", r.checksumdid, r.readdid);
        if (!r.okDid()) RZ8_TRACE("[D]checksum DID error");
    }
    r.checksum1 = BlockChecksum(b + 128, 127);
    r.read1 = b[255];
    RZ8_TRACE("[D]checksum1=%x read =%x", r.checksum1, r.read1);
    if (!r.ok1()) RZ8_TRACE("[D]checksum error");
    return r;
}
