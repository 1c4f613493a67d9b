#pragma once
// The 256-byte blocks a controller sends after its reply to the EDID and port-register
// commands: a base EDID block plus one extension, each with a valid checksum.
#include <array>
#include <cstdint>
#include <string>

namespace kztr::sim {

using Block256 = std::array<uint8_t, 256>;

// flags71 becomes the flags byte of the first detailed timing; productName (at most 13
// characters are kept) fills the third descriptor. brokenHeader spoils byte 7 only.
Block256 makeEdid(uint8_t flags71, const std::string& productName, uint8_t serial,
                  bool brokenHeader);

// A register dump for a port-register command, addressed by param.
Block256 makePortRegisterBlock(uint8_t command, uint16_t address);

// Sets bytes 127 and 255 so that each 128-byte half sums to 0 modulo 256.
void fixChecksums(Block256& block);

} // namespace kztr::sim
