#pragma once
// A device link with controller link 0 open on a scripted COM3, in virtual time, with
// its daily log in a temporary directory.
#include "DiagnosticLog.h"
#include "FakeSerialBackend.h"
#include "RZ8DeviceLink.h"
#include "RZ8Frames.h"
#include "VirtualClock.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace kztr::test {

using namespace std::chrono_literals;

// A controller's 16-byte reply: code, model letter, firmware, box ID, configuration.
inline Bytes replyFrame(uint8_t code, char model = 'D', uint8_t boxId = 2, uint16_t param = 0) {
    RZ8Full r{};
    r.cmd = code;
    r.model = uint8_t(model);
    r.fw_ver = 0x13;
    r.box_id = boxId;
    r.setVRHz(60);
    r.setParam(param);
    r.hRZ8Data.I_output_mode = 7;
    r.hRZ8Data.iVLimit = 45;
    r.setIHLimit(280);
    return Bytes(r.bytes(), r.bytes() + 16);
}

inline Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline std::vector<ScheduledBytes> at(std::chrono::milliseconds delay, Bytes bytes) {
    return {{delay, std::move(bytes)}};
}

class DeviceLinkFixture : public ::testing::Test {
protected:
    static constexpr int kCom = 3;

    void SetUp() override {
        ASSERT_TRUE(m_logDir.isValid());
        SetLogDateTimeSource([] { return QDateTime(QDate(2026, 12, 9), QTime(23, 15, 0)); });
        link = std::make_unique<CRZ8DeviceLink>(clock);
        link->m_strLogDir = m_logDir.path() + QStringLiteral("/LogoFiles/");
        ASSERT_EQ(link->m_hRZ8Dev[0].OpenPort(kCom, 460800), 1);
        link->m_hRZ8Dev[0].SetBoxId(2);
    }
    void TearDown() override { SetLogDateTimeSource({}); }

    // Lines of the daily log written so far.
    QStringList logLines() const {
        QFile f(link->m_strLogDir + QStringLiteral("2026.12.09.txt"));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    VirtualClock clock;
    FakeSerialBus bus{clock};
    FakeSerialLine& port = bus.line(kCom);
    std::unique_ptr<CRZ8DeviceLink> link;

private:
    QTemporaryDir m_logDir;
};

} // namespace kztr::test
