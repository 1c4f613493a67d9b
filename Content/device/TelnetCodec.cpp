#include "TelnetCodec.h"

#include <cstddef>

namespace kztr {
using namespace telnet;

namespace {
// The options this client takes in either direction; every other one is refused.
bool supported(uint8_t opt) {
    return opt == kOptBinary || opt == kOptSuppressGoAhead || opt == kOptComPort;
}
void put(std::vector<uint8_t>& out, uint8_t verb, uint8_t opt) {
    out.insert(out.end(), {kIac, verb, opt});
}
} // namespace

std::vector<uint8_t> TelnetCodec::greeting() {
    std::vector<uint8_t> out;
    for (const uint8_t opt : {kOptBinary, kOptSuppressGoAhead, kOptComPort}) {
        put(out, kWill, opt);
        m_weWill[opt] = true;
    }
    for (const uint8_t opt : {kOptBinary, kOptSuppressGoAhead}) {
        put(out, kDo, opt);
        m_weDo[opt] = true;
    }
    return out;
}

std::vector<uint8_t> TelnetCodec::lineSettings(uint32_t baudRate) {
    std::vector<uint8_t> out;
    auto sub = [&out](uint8_t command, std::vector<uint8_t> value) {
        out.insert(out.end(), {kIac, kSb, kOptComPort, command});
        for (const uint8_t b : value) {
            out.push_back(b);
            if (b == kIac) out.push_back(kIac);
        }
        out.insert(out.end(), {kIac, kSe});
    };
    sub(kSetBaudRate, {uint8_t(baudRate >> 24), uint8_t(baudRate >> 16), uint8_t(baudRate >> 8),
                       uint8_t(baudRate)});
    sub(kSetDataSize, {8});
    sub(kSetParity, {kParityNone});
    sub(kSetStopSize, {kStopOne});
    sub(kSetControl, {kControlNoFlow});
    return out;
}

std::vector<uint8_t> TelnetCodec::purgeInput() {
    return {kIac, kSb, kOptComPort, kPurgeData, kPurgeServerReceive, kIac, kSe};
}

std::vector<uint8_t> TelnetCodec::escape(const uint8_t* data, int length) {
    std::vector<uint8_t> out;
    out.reserve(std::size_t(length) + 8);
    for (int i = 0; i < length; ++i) {
        out.push_back(data[i]);
        if (data[i] == kIac) out.push_back(kIac);
    }
    return out;
}

void TelnetCodec::option(uint8_t verb, uint8_t opt, std::vector<uint8_t>& replies) {
    // Answer only changes of state, so that two agreeing ends never loop.
    switch (verb) {
    case kDo:
        if (opt == kOptComPort) m_comPortAnswered = true;
        if (!supported(opt)) {
            put(replies, kWont, opt);
        } else if (!m_weWill[opt]) {
            m_weWill[opt] = true;
            put(replies, kWill, opt);
        }
        break;
    case kDont:
        if (opt == kOptComPort) m_comPortAnswered = true;
        if (opt == kOptBinary && m_weWill[opt]) m_binaryRefused = true;
        if (m_weWill[opt]) {
            m_weWill[opt] = false;
            put(replies, kWont, opt);
        }
        break;
    case kWill:
        if (!supported(opt)) {
            put(replies, kDont, opt);
        } else if (!m_weDo[opt]) {
            m_weDo[opt] = true;
            put(replies, kDo, opt);
        }
        break;
    case kWont:
        if (opt == kOptBinary && m_weDo[opt]) m_binaryRefused = true;
        if (m_weDo[opt]) {
            m_weDo[opt] = false;
            put(replies, kDont, opt);
        }
        break;
    default:
        break;
    }
}

void TelnetCodec::subnegotiation() {
    // Of the server's COM-PORT answers only the baud rate matters here: the line is
    // useless at any other. Notifications and the other answers need nothing.
    if (m_sub.size() == 6 && m_sub[0] == kOptComPort && m_sub[1] == kServerAnswer + kSetBaudRate)
        m_baudTaken = uint32_t(m_sub[2]) << 24 | uint32_t(m_sub[3]) << 16 |
                      uint32_t(m_sub[4]) << 8 | m_sub[5];
}

void TelnetCodec::feed(const uint8_t* bytes, int length, std::vector<uint8_t>& data,
                       std::vector<uint8_t>& replies) {
    for (int i = 0; i < length; ++i) {
        const uint8_t b = bytes[i];
        switch (m_state) {
        case State::Data:
            if (b == kIac)
                m_state = State::Iac;
            else
                data.push_back(b);
            break;
        case State::Iac:
            if (b == kIac) {
                data.push_back(kIac);
                m_state = State::Data;
            } else if (b == kDo || b == kDont || b == kWill || b == kWont) {
                m_verb = b;
                m_state = State::Option;
            } else if (b == kSb) {
                m_sub.clear();
                m_state = State::Sub;
            } else {
                m_state = State::Data; // NOP, GA, BRK, ...: nothing to do
            }
            break;
        case State::Option:
            option(m_verb, b, replies);
            m_state = State::Data;
            break;
        case State::Sub:
            if (b == kIac)
                m_state = State::SubIac;
            else
                m_sub.push_back(b);
            break;
        case State::SubIac:
            if (b == kSe) {
                subnegotiation();
                m_state = State::Data;
                break;
            }
            if (b == kIac) m_sub.push_back(kIac);
            m_state = State::Sub;
            break;
        case State::Broken:
            return;
        }
        if (m_sub.size() > kSubLimit) {
            m_sub.clear();
            m_state = State::Broken;
        }
    }
}

} // namespace kztr
