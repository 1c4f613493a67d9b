#pragma once
// 256-byte EDID blocks for tests: a base block with header, one detailed timing
// descriptor, a product-name descriptor and an extension, both checksums valid.
#include <cstdint>
#include <string>
#include <vector>

namespace kztr::test {

// syncFlags goes to byte 71 (flags of the first detailed timing descriptor).
std::vector<uint8_t> makeEdidBlock(uint8_t syncFlags = 0x1E,
                                   const std::string& productName = "RZ8 WALL");

// Recomputes bytes 127 and 255 (and 254 for a DisplayID extension, byte 128 = 0x70).
void fixEdidChecksums(std::vector<uint8_t>& block);

} // namespace kztr::test
