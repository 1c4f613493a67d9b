#pragma once
// The telnet side of an RFC 2217 link, without any socket: escapes data for sending,
// separates received data from commands and subnegotiations (which may arrive split
// anywhere), answers the server's option requests and keeps what the server answered.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kztr {

namespace telnet {
constexpr uint8_t kIac = 255, kDont = 254, kDo = 253, kWont = 252, kWill = 251, kSb = 250,
                  kSe = 240;
constexpr uint8_t kOptBinary = 0, kOptSuppressGoAhead = 3, kOptComPort = 44;
// COM-PORT-OPTION client commands; the server answers with each plus 100.
constexpr uint8_t kSetBaudRate = 1, kSetDataSize = 2, kSetParity = 3, kSetStopSize = 4,
                  kSetControl = 5, kPurgeData = 12;
constexpr uint8_t kServerAnswer = 100;
constexpr uint8_t kParityNone = 1, kStopOne = 1, kControlNoFlow = 1;
// PURGE-DATA 1: the server's buffer of data received from the line, not yet sent to us.
constexpr uint8_t kPurgeServerReceive = 1;
} // namespace telnet

class TelnetCodec {
public:
    // A subnegotiation longer than this is no answer of a device server: a server that
    // never ends one would otherwise swallow all data after it and grow without bound.
    static constexpr std::size_t kSubLimit = 256;

    // What the client offers at once: binary both ways, no go-ahead, COM-PORT-OPTION.
    std::vector<uint8_t> greeting();
    // The line settings for COM-PORT-OPTION: baud rate, 8 data bits, no parity, 1 stop
    // bit, no flow control.
    static std::vector<uint8_t> lineSettings(uint32_t baudRate);
    // Asks the server to drop the line's data it holds for us.
    static std::vector<uint8_t> purgeInput();
    // data with every 0xFF doubled.
    static std::vector<uint8_t> escape(const uint8_t* data, int length);

    // Feeds received bytes: data goes to 'data', answers to send go to 'replies'. Once
    // broken() nothing more is taken.
    void feed(const uint8_t* bytes, int length, std::vector<uint8_t>& data,
              std::vector<uint8_t>& replies);

    // The server's answer to our COM-PORT-OPTION offer: came at all, and was yes.
    bool comPortAnswered() const { return m_comPortAnswered; }
    bool comPortAccepted() const { return m_weWill[telnet::kOptComPort]; }
    // The rate the server's answer to SET-BAUDRATE names, once it came.
    std::optional<uint32_t> baudTaken() const { return m_baudTaken; }
    // The server said DONT or WONT to binary mode after we asked for it.
    bool binaryRefused() const { return m_binaryRefused; }
    // A subnegotiation ran past kSubLimit.
    bool broken() const { return m_state == State::Broken; }

private:
    enum class State { Data, Iac, Option, Sub, SubIac, Broken };
    void option(uint8_t verb, uint8_t opt, std::vector<uint8_t>& replies);
    void subnegotiation();

    State m_state = State::Data;
    uint8_t m_verb = 0;
    bool m_weWill[256] = {}; // we said WILL and it is not refused
    bool m_weDo[256] = {};   // we said DO and it is not refused
    bool m_comPortAnswered = false;
    bool m_binaryRefused = false;
    std::optional<uint32_t> m_baudTaken;
    std::vector<uint8_t> m_sub; // the subnegotiation being received, unescaped
};

} // namespace kztr
