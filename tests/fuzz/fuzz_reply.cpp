// Reply assembly and the data block after it. The input is the script of one exchange on
// a scripted COM port in virtual time (nothing sleeps for real):
//   byte 0    bits 0-3 the code expected (kCodes), bits 4-5 how the exchange starts
//             (0 a plain reply wait, 1 the configuration request, 2 a command frame
//             without pause, 3 with the usual 1000 ms pause), bit 6 a message pump
//   byte 1    bits 0-2 the box mode, bits 3-5 EDID blocks already read
//   byte 2    bits 0-2 the limit of a plain reply wait in seconds, bit 3 writes fail,
//             bit 4 no current device link, bit 5 every other wait wakes up with nothing
//             queued, bit 6 every third look at the queue fails
//   3..18     the record sent (an EDID restore sends it too)
//   the rest  pieces: delay after the previous piece (x 20 ms), length (0: all that is
//             left), the bytes; each arrives at its time whatever was written.
#include "DiagnosticLog.h"
#include "FakeSerialBackend.h"
#include "FuzzSupport.h"
#include "RZ8DeviceLink.h"
#include "RZ8Frames.h"
#include "RZ8Models.h"
#include "VirtualClock.h"

#include <QDateTime>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdint>
#include <memory>

namespace {

using namespace std::chrono_literals;
using kztr::test::Bytes;

constexpr int kCom = 3;
constexpr uint8_t kCodes[16] = {0xFF, 0x27, 0x28, 0x29, 0x2A, 0x2E, 0x2F, 0x01,
                                0x0E, 0x0F, 0x00, 0x03, 0x08, 0x0C, 0x11, 0xFE};

// An exchange with an EDID restore nests one more; the read count caps the nesting.
constexpr int kMaxLevels = 1 + CRZ8Exchange::kEDIDReadCountCap;
// Longest one level can take: pause, reply wait, reset pause, block wait.
constexpr auto kLevelTime = 1000ms + 7s + CRZ8Exchange::kResetEchoPause + CRZ8Exchange::kBlockWait;

using kztr::fuzz::Script;

// The scripted line, with a port that may wake its waiter for nothing and may fail to
// say how much is queued: neither may turn a reply wait into a spin or a hang.
class FlakyPort final : public kztr::SerialBackend {
public:
    FlakyPort(kztr::test::FakeSerialLine& line, kztr::test::VirtualClock& clock, bool wakes,
              bool fails)
        : m_line(line), m_clock(clock), m_wakes(wakes), m_fails(fails) {}
    bool open(int, int) override { return m_line.open(); }
    void close() override { m_line.close(); }
    int bytesQueued() override {
        if (m_fails && ++m_looks % 3 == 0) return -1;
        return m_line.bytesQueued();
    }
    int read(uint8_t* buffer, int capacity) override { return m_line.read(buffer, capacity); }
    int write(const uint8_t* data, int length, std::chrono::milliseconds) override {
        return m_line.write(data, length);
    }
    kztr::WaitResult waitReadable(std::chrono::milliseconds limit) override {
        if (m_wakes && ++m_waits % 2 == 0 && m_line.queuedNow() == 0) {
            m_clock.advance(std::min<std::chrono::milliseconds>(limit, 3ms));
            return kztr::WaitResult::Readable;
        }
        return m_line.waitReadable(limit) ? kztr::WaitResult::Readable : kztr::WaitResult::TimedOut;
    }

private:
    kztr::test::FakeSerialLine& m_line;
    kztr::test::VirtualClock& m_clock;
    const bool m_wakes;
    const bool m_fails;
    int m_looks = 0;
    int m_waits = 0;
};

// A folder below a plain file: the daily-log line is made, its write fails at once.
const QString& UnwritableLogDir() {
    static QTemporaryFile file;
    static const QString dir = (file.open(), file.fileName() + QStringLiteral("/LogoFiles/"));
    return dir;
}

void SetUp() {
    static const bool done = [] {
        kztr::fuzz::FormatAndDropTraces();
        SetLogDateTimeSource([] { return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)); });
        return true;
    }();
    (void)done;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetUp();
    Script script(data, size);
    const uint8_t how = script.byte();
    const uint8_t box = script.byte();
    const uint8_t extra = script.byte();
    RZ8Full record{};
    const Bytes recordBytes = script.take(sizeof record);
    std::copy(recordBytes.begin(), recordBytes.end(), record.bytes());

    const uint8_t code = kCodes[how & 0x0F];
    const int entry = (how >> 4) & 3;
    const int limitSeconds = extra & 7;
    const bool writesFail = extra & 0x08;
    const bool noLink = extra & 0x10;

    kztr::test::VirtualClock clock;
    kztr::test::FakeSerialBus bus(clock);
    kztr::test::FakeSerialLine& port = bus.line(kCom);
    const bool wakes = extra & 0x20;
    const bool fails = extra & 0x40;
    if (wakes || fails)
        kztr::setSerialBackendFactory([&port, &clock, wakes, fails] {
            return std::make_unique<FlakyPort>(port, clock, wakes, fails);
        });
    CRZ8DeviceLink link(clock);
    link.BuildSliderResInfo();
    link.m_strLogDir = UnwritableLogDir();
    link.CurrentExchange().SetBoxMode(box & 7);
    link.m_iEDIDReadCount = (box >> 3) & 7;
    link.m_hTmpRZ8Full = record;
    const int readCountBefore = link.m_iEDIDReadCount;
    int pumped = 0;
    if (how & 0x40) link.SetMessagePump([&pumped] { ++pumped; });
    if (!noLink) {
        FUZZ_CHECK(link.m_hRZ8Dev[0].OpenPort(kCom, RZ8_BAUD) == 1);
        link.m_hRZ8Dev[0].SetBoxId(record.box_id);
    }
    port.setWriteFails(writesFail);

    std::chrono::milliseconds at{0};
    size_t arriving = 0;
    while (!script.empty()) {
        at += 20ms * script.byte();
        const size_t length = script.byte();
        Bytes piece = script.take(length == 0 ? script.left() : length);
        arriving += piece.size();
        port.feed(std::move(piece), at);
    }

    RZ8Full out{};
    int result = 0;
    uint8_t expected = code;
    switch (entry) {
    case 0:
        result = link.APIPR_UARTReadDataAndCheck(out, code, limitSeconds);
        break;
    case 1:
        expected = RZ8_BOOTCDE_GET_OLDDATA;
        result = link.APIPR_GetRZ8FullData(out);
        break;
    default:
        result = link.APIPR_SetRZ8FullData(record, code, record.box_id, entry == 3 ? 1000 : 0);
        break;
    }

    FUZZ_CHECK(result == 0 || result == 1);
    if (result == 1 && entry <= 1) FUZZ_CHECK(out.cmd == expected);
    if (result == 1 && entry == 0 && code == RZ8_BOOTCDE_GET_HPIXEL)
        FUZZ_CHECK(link.CurrentExchange().ReportedHPixel() == out.param());
    if (result == 1 && entry == 0 && code == RZ8_BOOTCDE_GET_VPIXEL)
        FUZZ_CHECK(link.CurrentExchange().ReportedVPixel() == out.param());
    // Nothing can answer without a link, a working write or any bytes at all.
    if (noLink || arriving == 0 || (writesFail && entry >= 1)) FUZZ_CHECK(result == 0);
    if (noLink && entry == 0) FUZZ_CHECK(clock.elapsed() >= std::chrono::seconds(limitSeconds));

    const auto writes = port.writes();
    if (!noLink && !writesFail && entry >= 2) {
        // The command frame went out first, with the header stamped on and a rate set.
        FUZZ_CHECK(!writes.empty());
        FUZZ_CHECK(writes[0].bytes.size() == size_t(RZ8_FRAME_LEN));
        FUZZ_CHECK(writes[0].bytes[0] == code && writes[0].bytes[1] == RZ8_FRAME_MODEL &&
                   writes[0].bytes[2] == RZ8_FRAME_FW && writes[0].bytes[3] == record.box_id);
        FUZZ_CHECK(record.VRStored() != 0);
    }
    // Per level at most the frame and one configuration request after a rejection.
    FUZZ_CHECK(writes.size() <= size_t(2 * kMaxLevels));
    FUZZ_CHECK(clock.elapsed() <= kMaxLevels * kLevelTime);

    FUZZ_CHECK(link.CurrentExchange().GetLastBlockLength() >= 0 &&
               link.CurrentExchange().GetLastBlockLength() <= RZ8_BLOCK_LEN);
    FUZZ_CHECK(link.m_hRZ8Dev[0].GetEdid().size() <= size_t(RZ8_BLOCK_LEN));
    FUZZ_CHECK(link.m_iEDIDReadCount >= readCountBefore);
    FUZZ_CHECK(link.m_iEDIDReadCount <= readCountBefore + kMaxLevels);
    // Only the flags of digital separate sync are taken as the polarity.
    FUZZ_CHECK(link.HV_Polarity == 0 || !PolarityText(link.HV_Polarity).isEmpty());
    return 0;
}
