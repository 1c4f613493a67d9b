#pragma once
// The controller's 16-byte configuration record. The in-memory form is the wire form:
// it is the body of every command frame and of every reply, copied as a plain block.
#include <cstdint>
#include <cstring>

struct RZ8Data {
    uint8_t flags[4];     // little-endian flags word, see the accessors of RZ8Full
    int8_t I_output_mode; // slider position 0..9; 9 = user-defined resolution
    uint8_t iVLimit;      // vertical blank, lines
    uint8_t iHLimitBE[2]; // horizontal blank, big-endian
    uint8_t HO;
    uint8_t VO;
    uint8_t HSW;
    uint8_t VSW;
};

struct RZ8Full {
    uint8_t cmd;
    uint8_t model;
    uint8_t fw_ver;
    uint8_t box_id;
    RZ8Data hRZ8Data;

    // Flags word as a host number (byte 4 holds bits 0-7).
    uint32_t flagsWord() const {
        const uint8_t* f = hRZ8Data.flags;
        return uint32_t(f[0]) | uint32_t(f[1]) << 8 | uint32_t(f[2]) << 16 | uint32_t(f[3]) << 24;
    }
    void setFlagsWord(uint32_t w) {
        for (int i = 0; i < 4; ++i)
            hRZ8Data.flags[i] = uint8_t(w >> (8 * i));
    }

    unsigned DID_Ver() const { return bits(0, 2); }
    void setDID_Ver(unsigned v) { setBits(0, 2, v); }
    unsigned vp() const { return bits(2, 1); }
    void setVp(unsigned v) { setBits(2, 1, v); }
    unsigned hp() const { return bits(3, 1); }
    void setHp(unsigned v) { setBits(3, 1, v); }
    unsigned color_10bit() const { return bits(4, 1); }
    void setColor_10bit(unsigned v) { setBits(4, 1, v); }
    unsigned audiobit() const { return bits(5, 1); }
    void setAudiobit(unsigned v) { setBits(5, 1, v); }

    // Stored value of the vertical rate (Hz - 20, 7 bits).
    unsigned VRStored() const { return bits(8, 7); }
    void setVRStored(unsigned v) { setBits(8, 7, v); }
    int VRHz() const { return int(VRStored()) + 20; }
    void setVRHz(int hz) { setVRStored(unsigned(hz - 20) & 0x7F); }

    // Command parameter, big-endian on the wire: byte 6 high, byte 7 low.
    uint16_t param() const { return uint16_t(hRZ8Data.flags[2] << 8 | hRZ8Data.flags[3]); }
    void setParam(uint16_t v) {
        hRZ8Data.flags[2] = uint8_t(v >> 8);
        hRZ8Data.flags[3] = uint8_t(v);
    }

    uint16_t iHLimit() const {
        return uint16_t(hRZ8Data.iHLimitBE[0] << 8 | hRZ8Data.iHLimitBE[1]);
    }
    void setIHLimit(uint16_t v) {
        hRZ8Data.iHLimitBE[0] = uint8_t(v >> 8);
        hRZ8Data.iHLimitBE[1] = uint8_t(v);
    }

    const uint8_t* bytes() const { return reinterpret_cast<const uint8_t*>(this); }
    uint8_t* bytes() { return reinterpret_cast<uint8_t*>(this); }

    bool operator==(const RZ8Full& o) const { return std::memcmp(this, &o, sizeof *this) == 0; }
    bool operator!=(const RZ8Full& o) const { return !(*this == o); }

private:
    unsigned bits(int first, int count) const {
        return (flagsWord() >> first) & ((1u << count) - 1);
    }
    // Read-modify-write: neighbouring fields keep their bits.
    void setBits(int first, int count, unsigned v) {
        const uint32_t mask = ((1u << count) - 1) << first;
        setFlagsWord((flagsWord() & ~mask) | ((uint32_t(v) << first) & mask));
    }
};

static_assert(sizeof(RZ8Data) == 12, "RZ8Data is 12 bytes on the wire");
static_assert(sizeof(RZ8Full) == 16, "RZ8Full is 16 bytes on the wire");
static_assert(alignof(RZ8Full) == 1, "RZ8Full has no padding or alignment");
