#pragma once
// 256-byte EDID blocks for tests: a base block with header, one detailed timing
// descriptor, a product-name descriptor and an extension, both checksums valid.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kztr::test {

// syncFlags goes to byte 71 (flags of the first detailed timing descriptor).
std::vector<uint8_t> makeEdidBlock(uint8_t syncFlags = 0x1E,
                                   const std::string& productName = "RZ8 WALL");

// Recomputes bytes 127 and 255 (and 254 for a DisplayID extension, byte 128 = 0x70).
void fixEdidChecksums(std::vector<uint8_t>& block);

// A detailed timing descriptor as the EDID stores it: vertical figures per field when
// interlaced. Front porch and sync width sit inside the blanking.
struct EdidDetailedTiming {
    int clock10kHz;
    int hActive, hBlank, hFront, hSync;
    int vActive, vBlank, vFront, vSync;
    uint8_t flags; // byte 17: bit 7 interlaced, bits 4-1 sync kind and polarity
};

// Writes the timing into the 18 bytes at 'at' (54, 72, 90 or 108); checksums untouched.
void putDetailedTiming(std::vector<uint8_t>& block, size_t at, const EdidDetailedTiming& t);

// A display descriptor with tag (0xFC name, 0x10 dummy, ...) and up to 13 bytes of text,
// taken as given (a line feed and padding are the caller's); the rest is zero.
void putDisplayDescriptor(std::vector<uint8_t>& block, size_t at, uint8_t tag,
                          const std::string& text);

} // namespace kztr::test
