#include "EdidBlock.h"

#include <algorithm>

namespace kztr::test {
namespace {
uint8_t checksumOf(const std::vector<uint8_t>& b, int first, int count) {
    unsigned sum = 0;
    for (int i = first; i < first + count; ++i)
        sum += b[i];
    return uint8_t(256 - sum % 256);
}
} // namespace

std::vector<uint8_t> makeEdidBlock(uint8_t syncFlags, const std::string& productName) {
    std::vector<uint8_t> b(256, 0);
    const uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::copy(header, header + 8, b.begin());
    b[8] = 0x4A; // maker and product codes: arbitrary but non-zero
    b[9] = 0x8B;
    b[18] = 1; // EDID 1.3
    b[19] = 3;
    // First detailed timing descriptor at 54: 148.5 MHz 1920x1080.
    b[54] = 0x02;
    b[55] = 0x3A;
    b[56] = 0x80;
    b[58] = 0x71;
    b[59] = 0x38;
    b[61] = 0x40;
    b[71] = syncFlags;
    // Third descriptor (90..107): display product name.
    b[93] = 0xFC;
    std::fill(b.begin() + 95, b.begin() + 108, 0x20);
    const std::string name = productName.substr(0, 13);
    std::copy(name.begin(), name.end(), b.begin() + 95);
    if (name.size() < 13) b[95 + name.size()] = 0x0A;
    b[126] = 1;    // one extension
    b[128] = 0x02; // CTA extension
    b[129] = 0x03;
    fixEdidChecksums(b);
    return b;
}

void fixEdidChecksums(std::vector<uint8_t>& b) {
    b[127] = checksumOf(b, 0, 127);
    if (b[128] == 0x70) b[254] = checksumOf(b, 129, 125);
    b[255] = checksumOf(b, 128, 127);
}

void putDetailedTiming(std::vector<uint8_t>& b, size_t at, const EdidDetailedTiming& t) {
    b[at] = uint8_t(t.clock10kHz & 0xFF);
    b[at + 1] = uint8_t(t.clock10kHz >> 8);
    b[at + 2] = uint8_t(t.hActive & 0xFF);
    b[at + 3] = uint8_t(t.hBlank & 0xFF);
    b[at + 4] = uint8_t((t.hActive >> 8) << 4 | (t.hBlank >> 8));
    b[at + 5] = uint8_t(t.vActive & 0xFF);
    b[at + 6] = uint8_t(t.vBlank & 0xFF);
    b[at + 7] = uint8_t((t.vActive >> 8) << 4 | (t.vBlank >> 8));
    b[at + 8] = uint8_t(t.hFront & 0xFF);
    b[at + 9] = uint8_t(t.hSync & 0xFF);
    b[at + 10] = uint8_t((t.vFront & 0x0F) << 4 | (t.vSync & 0x0F));
    b[at + 11] =
        uint8_t((t.hFront >> 8) << 6 | (t.hSync >> 8) << 4 | (t.vFront >> 4) << 2 | (t.vSync >> 4));
    // Image size and border: left as the block had them.
    b[at + 17] = t.flags;
}

void putDisplayDescriptor(std::vector<uint8_t>& b, size_t at, uint8_t tag,
                          const std::string& text) {
    std::fill(b.begin() + long(at), b.begin() + long(at) + 18, 0);
    b[at + 3] = tag;
    const std::string cut = text.substr(0, 13);
    std::copy(cut.begin(), cut.end(), b.begin() + long(at) + 5);
}

} // namespace kztr::test
