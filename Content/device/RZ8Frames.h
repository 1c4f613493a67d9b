#pragma once
// What travels on the line: command codes, frame and block sizes, the send entry point
// with its trace lines, and the checksums of a received 256-byte block.
#include <cstdint>

class CRZ8Ctrl;

// Command codes (byte 0 of a frame and of its reply).
constexpr uint8_t RZ8_BOOTCDE_SET_FULLDATA = 0x00;
constexpr uint8_t RZ8_BOOTCDE_HW_RESET = 0x01;
constexpr uint8_t RZ8_BOOTCDE_PATTERN_ON = 0x03;
constexpr uint8_t RZ8_BOOTCDE_PATTERN_OFF = 0x04;
constexpr uint8_t RZ8_BOOTCDE_SET_BOXID = 0x08;
constexpr uint8_t RZ8_BOOTCDE_RGBW_ON = 0x0B;
constexpr uint8_t RZ8_BOOTCDE_SET_HPIXEL = 0x0C;
constexpr uint8_t RZ8_BOOTCDE_SET_VPIXEL = 0x0D;
constexpr uint8_t RZ8_BOOTCDE_GET_HPIXEL = 0x0E;
constexpr uint8_t RZ8_BOOTCDE_GET_VPIXEL = 0x0F;
constexpr uint8_t RZ8_BOOTCDE_PIXEL_COMMIT = 0x11;
constexpr uint8_t RZ8_BOOTCDE_GET_EDID = 0x27;
constexpr uint8_t RZ8_BOOTCDE_GET_EDID_BUF = 0x28;
constexpr uint8_t RZ8_BOOTCDE_GET_PortReg = 0x29; // first of 0x29..0x2E
constexpr uint8_t RZ8_BOOTCDE_GET_PortReg_LAST = 0x2E;
constexpr uint8_t RZ8_BOOTCDE_GET_OLDDATA = 0xFF; // the one-byte configuration request
constexpr uint8_t RZ8_REPLY_REJECTED = 0xFE;      // answered with a 0xFF request

// Header bytes 1 and 2 of every frame the tool sends.
constexpr uint8_t RZ8_FRAME_MODEL = 0x44;
constexpr uint8_t RZ8_FRAME_FW = 0x50;

// Line speed of every controller link (8N1).
constexpr int RZ8_BAUD = 460800;

constexpr int RZ8_FRAME_LEN = 16;
constexpr int RZ8_BLOCK_LEN = 256;

// Marker in param for the EDID restore, the EDID buffer read; and the port-register address.
constexpr uint16_t RZ8_PARAM_EDID_RESTORE = 0xAAAA;
constexpr uint16_t RZ8_PARAM_PORTREG_ADDR = 0x1600;

// The fixed start of an EDID base block, and the byte of its first detailed timing
// descriptor that holds the sync flags (digital separate sync: the H/V polarity).
inline constexpr uint8_t RZ8_EDID_HEADER[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr int RZ8_EDID_SYNC_FLAGS_OFFSET = 71;

// True when block starts with the EDID header.
bool HasEdidHeader(const uint8_t* block);

// Replies to 0x27..0x2F are followed by a 256-byte block.
constexpr bool IsBlockCommand(uint8_t code) {
    return code >= 0x27 && code <= 0x2F;
}

// Traces the frame, then sends it on dev (after dev throws away stale input).
// Returns 0 without a link, else the link's send result.
int APIPR_UARTSendData(CRZ8Ctrl* dev, const uint8_t* data, int length);

// Sum of count bytes mod 256.
uint8_t ByteSum(const uint8_t* bytes, int count);
// (256 - sum of count bytes) mod 256: the byte that makes the range sum to 0.
uint8_t BlockChecksum(const uint8_t* bytes, int count);

struct BlockChecksumResult {
    uint8_t checksum0, read0;     // base block, bytes 0-126 against byte 127
    uint8_t checksum1, read1;     // extension, bytes 128-254 against byte 255
    bool hasDid;                  // byte 128 is 0x70: a DisplayID extension
    uint8_t checksumdid, readdid; // DisplayID section, bytes 129-253 against byte 254
    bool ok0() const { return checksum0 == read0; }
    bool ok1() const { return checksum1 == read1; }
    bool okDid() const { return !hasDid || checksumdid == readdid; }
};

// Works out the three checksums of a 256-byte block and traces them; nothing else
// depends on the result.
BlockChecksumResult ExamineBlockChecksums(const uint8_t* block);
