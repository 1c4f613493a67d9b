// The telnet side of an RFC 2217 link (TelnetCodec). Byte 0: bit 0 the greeting is made
// first, bit 1 the rest is raw bytes off the wire instead of a script.
// A script is a row of pieces, each an op byte and what it needs; op % 5 picks:
//   0  data: (op >> 3) + 1 bytes follow, any values (0xFF goes doubled)
//   1  option command: verb (op >> 3) & 3 of DO, DONT, WILL, WONT; one option byte follows
//   2  subnegotiation: one option byte, then op >> 3 payload bytes, then IAC SE
//   3  a two-byte command (NOP, GA, BRK, ..., a stray SE): (op >> 3) % 10
//   4  the wire is cut here into another read
// The data taken out must be the data put in, and the answers what the negotiation rules
// (worked out separately below) call for, however the wire is cut. Raw bytes must be
// taken the same way in one piece and byte by byte, and may only yield well-formed answers.
#include "FuzzSupport.h"
#include "TelnetCodec.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace {

using namespace kztr::telnet;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kVerbs[4] = {kDo, kDont, kWill, kWont};
constexpr uint8_t kCommands[10] = {241, 242, 243, 244, 245, 246, 247, 248, 249, kSe};

using kztr::fuzz::Script;

// What a client taking binary, suppress-go-ahead and COM-PORT-OPTION must answer: only
// changes of its own state, refusals for everything else.
struct Negotiation {
    std::array<bool, 256> weWill{}, weDo{};
    bool comPortAnswered = false;

    static bool takes(uint8_t opt) { return opt == 0 || opt == 3 || opt == 44; }
    void greet() {
        weWill[0] = weWill[3] = weWill[44] = true;
        weDo[0] = weDo[3] = true;
    }
    void on(uint8_t verb, uint8_t opt, Bytes& answers) {
        auto say = [&](uint8_t v) { answers.insert(answers.end(), {kIac, v, opt}); };
        if ((verb == kDo || verb == kDont) && opt == 44) comPortAnswered = true;
        if (verb == kDo && !takes(opt)) say(kWont);
        if (verb == kDo && takes(opt) && !weWill[opt]) weWill[opt] = true, say(kWill);
        if (verb == kDont && weWill[opt]) weWill[opt] = false, say(kWont);
        if (verb == kWill && !takes(opt)) say(kDont);
        if (verb == kWill && takes(opt) && !weDo[opt]) weDo[opt] = true, say(kDo);
        if (verb == kWont && weDo[opt]) weDo[opt] = false, say(kDont);
    }
};

void putEscaped(Bytes& wire, uint8_t b) {
    wire.push_back(b);
    if (b == kIac) wire.push_back(kIac);
}

// Feeds the wire in the given pieces; returns data and answers.
void feedPieces(kztr::TelnetCodec& codec, const Bytes& wire, const std::vector<size_t>& cuts,
                Bytes& data, Bytes& answers) {
    size_t from = 0;
    for (size_t i = 0; i <= cuts.size(); ++i) {
        const size_t to = i < cuts.size() ? cuts[i] : wire.size();
        codec.feed(wire.data() + from, int(to - from), data, answers);
        from = to;
    }
}

// Answers are whole three-byte option commands.
void checkWellFormed(const Bytes& answers) {
    FUZZ_CHECK(answers.size() % 3 == 0);
    for (size_t i = 0; i < answers.size(); i += 3) {
        FUZZ_CHECK(answers[i] == kIac);
        FUZZ_CHECK(answers[i + 1] == kDo || answers[i + 1] == kDont || answers[i + 1] == kWill ||
                   answers[i + 1] == kWont);
    }
}

void runScript(Script& in, bool greet) {
    Negotiation model;
    if (greet) model.greet();
    Bytes wire, sent, expectedAnswers;
    std::vector<size_t> cuts;
    std::optional<uint32_t> baud;
    while (!in.empty()) {
        const uint8_t op = in.byte();
        switch (op % 5) {
        case 0:
            for (int i = 0; i <= op >> 3; ++i) {
                const uint8_t b = in.byte();
                sent.push_back(b);
                putEscaped(wire, b);
            }
            break;
        case 1: {
            const uint8_t verb = kVerbs[(op >> 3) & 3], opt = in.byte();
            wire.insert(wire.end(), {kIac, verb, opt});
            model.on(verb, opt, expectedAnswers);
            break;
        }
        case 2: {
            wire.insert(wire.end(), {kIac, kSb});
            Bytes sub = {in.byte()};
            for (int i = 0; i < op >> 3; ++i)
                sub.push_back(in.byte());
            for (const uint8_t b : sub)
                putEscaped(wire, b);
            wire.insert(wire.end(), {kIac, kSe});
            // The server's answer to SET-BAUDRATE: the rate it names is kept.
            if (sub.size() == 6 && sub[0] == 44 && sub[1] == 101)
                baud = uint32_t(sub[2]) << 24 | uint32_t(sub[3]) << 16 | uint32_t(sub[4]) << 8 |
                       sub[5];
            break;
        }
        case 3:
            wire.insert(wire.end(), {kIac, kCommands[(op >> 3) % 10]});
            break;
        default:
            cuts.push_back(wire.size());
            break;
        }
    }

    // The codec's escaping is the one written out above.
    const Bytes escaped = kztr::TelnetCodec::escape(sent.data(), int(sent.size()));
    Bytes mine;
    for (const uint8_t b : sent)
        putEscaped(mine, b);
    FUZZ_CHECK(escaped == mine);

    kztr::TelnetCodec codec;
    if (greet) {
        const Bytes hello = codec.greeting();
        FUZZ_CHECK(hello.size() == 15);
        checkWellFormed(hello);
    }
    Bytes data, answers;
    feedPieces(codec, wire, cuts, data, answers);
    FUZZ_CHECK(data == sent);
    FUZZ_CHECK(answers == expectedAnswers);
    FUZZ_CHECK(codec.comPortAnswered() == model.comPortAnswered);
    FUZZ_CHECK(codec.comPortAccepted() == model.weWill[44]);

    // The line settings are commands only: nothing of them may pass as data.
    Bytes settingsData, settingsAnswers;
    const Bytes settings = kztr::TelnetCodec::lineSettings(uint32_t(sent.size()) * 0x01010101u);
    codec.feed(settings.data(), int(settings.size()), settingsData, settingsAnswers);
    FUZZ_CHECK(settingsData.empty() && settingsAnswers.empty());
    FUZZ_CHECK(!codec.broken());
    FUZZ_CHECK(codec.baudTaken() == baud);

    // A subnegotiation never closed stops the codec: nothing after it passes as data.
    Bytes endless = {kIac, kSb, kOptComPort};
    endless.resize(kztr::TelnetCodec::kSubLimit + 8, 'x');
    endless.insert(endless.end(), {'A', kIac, kSe, 'B'});
    Bytes endlessData, endlessAnswers;
    codec.feed(endless.data(), int(endless.size()), endlessData, endlessAnswers);
    FUZZ_CHECK(codec.broken());
    FUZZ_CHECK(endlessData.empty() && endlessAnswers.empty());
}

void runRaw(Script& in, bool greet) {
    Bytes wire;
    while (!in.empty())
        wire.push_back(in.byte());
    kztr::TelnetCodec whole, bytewise;
    if (greet) {
        whole.greeting();
        bytewise.greeting();
    }
    Bytes data1, answers1, data2, answers2;
    whole.feed(wire.data(), int(wire.size()), data1, answers1);
    for (const uint8_t b : wire)
        bytewise.feed(&b, 1, data2, answers2);
    FUZZ_CHECK(data1 == data2);
    FUZZ_CHECK(answers1 == answers2);
    FUZZ_CHECK(data1.size() <= wire.size());
    checkWellFormed(answers1);
    FUZZ_CHECK(whole.comPortAnswered() == bytewise.comPortAnswered());
    FUZZ_CHECK(whole.comPortAccepted() == bytewise.comPortAccepted());
    FUZZ_CHECK(whole.baudTaken() == bytewise.baudTaken());
    FUZZ_CHECK(whole.binaryRefused() == bytewise.binaryRefused());
    FUZZ_CHECK(whole.broken() == bytewise.broken());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Script in(data, size);
    const uint8_t mode = in.byte();
    if (mode & 2)
        runRaw(in, mode & 1);
    else
        runScript(in, mode & 1);
    return 0;
}
