#include "EdidImage.h"

#include <algorithm>
#include <numeric>

namespace kztr::sim {

void fixChecksums(Block256& block) {
    for (int half : {0, 128}) {
        const auto begin = block.begin() + half;
        const unsigned sum = std::accumulate(begin, begin + 127, 0u);
        block[size_t(half + 127)] = uint8_t(256 - sum % 256);
    }
}

Block256 makeEdid(uint8_t flags71, const std::string& productName, uint8_t serial,
                  bool brokenHeader) {
    Block256 e{};
    const uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    std::copy(header, header + 8, e.begin());
    if (brokenHeader) e[7] = 0x01;

    // Maker "KZT" (three 5-bit letters, big-endian), product 8, serial = box ID.
    const uint16_t maker = uint16_t(('K' - '@') << 10 | ('Z' - '@') << 5 | ('T' - '@'));
    e[8] = uint8_t(maker >> 8);
    e[9] = uint8_t(maker);
    e[10] = 0x08;
    e[12] = serial;
    e[16] = 1;  // week
    e[17] = 34; // 2024
    e[18] = 1;  // version 1.3
    e[19] = 3;
    e[20] = 0x80; // digital input
    e[21] = 160;  // cm
    e[22] = 90;
    e[23] = 120; // gamma 2.2
    e[24] = 0x0A;
    const uint8_t chroma[10] = {0xEE, 0x91, 0xA3, 0x54, 0x4C, 0x99, 0x26, 0x0F, 0x50, 0x54};
    std::copy(chroma, chroma + 10, e.begin() + 25);
    std::fill(e.begin() + 38, e.begin() + 54, 0x01); // no standard timings

    // First detailed timing: 1920x1080 at 60 Hz, 148.5 MHz.
    const uint8_t dtd[18] = {0x02, 0x3A, 0x80, 0x18, 0x71, 0x38, 0x2D, 0x40, 0x58,
                             0x2C, 0x45, 0x00, 0x40, 0x84, 0x63, 0x00, 0x00, 0x00};
    std::copy(dtd, dtd + 18, e.begin() + 54);
    e[71] = flags71;

    // Second: range limits.
    const uint8_t range[18] = {0x00, 0x00, 0x00, 0xFD, 0x00, 0x18, 0x4B, 0x0F, 0x51,
                               0x11, 0x00, 0x0A, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
    std::copy(range, range + 18, e.begin() + 72);

    // Third: product name, 13 characters ended by a line feed and padded with spaces.
    e[93] = 0xFC;
    const std::string name = productName.substr(0, 13);
    for (size_t i = 0; i < 13; ++i)
        e[95 + i] = i < name.size() ? uint8_t(name[i]) : (i == name.size() ? 0x0A : 0x20);

    // Fourth: dummy descriptor.
    e[111] = 0x10;
    e[126] = 1; // one extension block

    // Extension: CTA block with no data blocks and no further timings.
    e[128] = 0x02;
    e[129] = 0x03;
    e[130] = 0x04;
    fixChecksums(e);
    return e;
}

Block256 makePortRegisterBlock(uint8_t command, uint16_t address) {
    Block256 b{};
    for (size_t i = 0; i < b.size(); ++i)
        b[i] = uint8_t(command * 16 + address + i);
    fixChecksums(b);
    return b;
}

} // namespace kztr::sim
