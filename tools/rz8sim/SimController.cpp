#include "SimController.h"

#include "EdidImage.h"

namespace kztr::sim {
namespace {
constexpr uint16_t kRepairParam = 0xAAAA;

enum Code : uint8_t {
    SetFullData = 0x00,
    HwReset = 0x01,
    PatternOn = 0x03,
    PatternOff = 0x04,
    SetBoxId = 0x08,
    RgbwOn = 0x0B,
    SetHPixel = 0x0C,
    SetVPixel = 0x0D,
    GetHPixel = 0x0E,
    GetVPixel = 0x0F,
    PixelCommit = 0x11,
    GetEdid = 0x27,
    GetEdidBuf = 0x28,
    FirstPortReg = 0x29,
    LastPortReg = 0x2E,
    LastBlockCode = 0x2F,
};

bool known(uint8_t code) {
    switch (code) {
    case SetFullData:
    case HwReset:
    case PatternOn:
    case PatternOff:
    case SetBoxId:
    case RgbwOn:
    case SetHPixel:
    case SetVPixel:
    case GetHPixel:
    case GetVPixel:
    case PixelCommit:
        return true;
    default:
        return code >= GetEdid && code <= LastBlockCode;
    }
}
} // namespace

SimController::SimController(const ControllerConfig& config) : m_config(config) {
    // A sensible configuration to start from: 60 Hz, both polarities positive,
    // the usual blanks.
    RZ8Full r{};
    r.setVRHz(60);
    r.setHp(1);
    r.setVp(1);
    r.hRZ8Data.iVLimit = 45;
    r.setIHLimit(280);
    m_data = r.hRZ8Data;
}

void SimController::receive(const uint8_t* data, size_t length, SimClock::time_point now,
                            std::vector<std::vector<uint8_t>>& requests,
                            std::vector<Emission>& out) {
    if (length == 0) return;
    // A frame is sent whole; a fragment left from long ago is line noise.
    if (!m_partial.empty() && now - m_lastByte > m_frameGap) m_partial.clear();
    m_lastByte = now;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t byte = data[i];
        if (m_partial.empty() && byte == kConfigRequest) {
            requests.push_back({byte});
            answer(requests.back(), out);
            continue;
        }
        m_partial.push_back(byte);
        if (m_partial.size() == kFrameSize) {
            requests.push_back(std::move(m_partial));
            m_partial.clear();
            answer(requests.back(), out);
        }
    }
}

RZ8Full SimController::reply(uint8_t code) const {
    RZ8Full r{};
    r.cmd = code;
    r.model = uint8_t(m_config.model);
    r.fw_ver = m_config.fwVer;
    r.box_id = m_config.boxId;
    r.hRZ8Data = m_data;
    return r;
}

void SimController::emitReply(const RZ8Full& record, std::vector<Emission>& out) const {
    std::vector<uint8_t> bytes(record.bytes(), record.bytes() + sizeof record);
    if (m_config.faults.splitReplies) {
        out.push_back({std::chrono::milliseconds(0), {bytes.begin(), bytes.end() - 1}});
        out.push_back({m_config.faults.splitDelay, {bytes.back()}});
    } else {
        out.push_back({std::chrono::milliseconds(0), std::move(bytes)});
    }
}

void SimController::answer(const std::vector<uint8_t>& request, std::vector<Emission>& out) {
    const Faults& faults = m_config.faults;
    const uint8_t code = request[0];
    if (faults.silent || faults.ignored.count(code)) return;

    if (request.size() == 1) {
        emitReply(reply(kConfigRequest), out);
        return;
    }
    if (faults.answerFE || !known(code)) {
        emitReply(reply(kErrorReply), out);
        return;
    }

    RZ8Full frame{};
    std::copy(request.begin(), request.end(), frame.bytes());
    const uint16_t param = frame.param();
    switch (code) {
    case SetFullData:
        m_data = frame.hRZ8Data;
        break;
    case HwReset:
        ++m_resets;
        m_patternOn = m_rgbwOn = false;
        break;
    case PatternOn:
        m_patternOn = true;
        break;
    case PatternOff:
        m_patternOn = m_rgbwOn = false;
        break;
    case SetBoxId:
        m_config.boxId = frame.box_id;
        break;
    case RgbwOn:
        m_rgbwOn = true;
        break;
    case SetHPixel:
        m_config.hPixel = param;
        break;
    case SetVPixel:
        m_config.vPixel = param;
        break;
    case PixelCommit:
        ++m_pixelCommits;
        break;
    case GetEdid:
        if (param == kRepairParam) {
            ++m_edidRepairs;
            m_edidRepaired = true;
        }
        break;
    default:
        break;
    }

    RZ8Full record = reply(code);
    if (code == GetHPixel) record.setParam(m_config.hPixel);
    if (code == GetVPixel) record.setParam(m_config.vPixel);
    emitReply(record, out);

    if (code >= GetEdid && code <= LastBlockCode) {
        Block256 block;
        if (code == GetEdid || code == GetEdidBuf) {
            const bool broken = faults.edid == EdidFault::AlwaysBroken ||
                                (faults.edid == EdidFault::BrokenUntilRepair && !m_edidRepaired);
            block = makeEdid(m_config.edidFlags, m_config.productName, m_config.boxId, broken);
        } else {
            block = makePortRegisterBlock(code, param);
        }
        out.push_back({std::chrono::milliseconds(0), {block.begin(), block.end()}});
    }
}

ControllerState SimController::state() const {
    ControllerState s;
    s.config = reply(0);
    s.hPixel = m_config.hPixel;
    s.vPixel = m_config.vPixel;
    s.patternOn = m_patternOn;
    s.rgbwOn = m_rgbwOn;
    s.resets = m_resets;
    s.pixelCommits = m_pixelCommits;
    s.edidRepairs = m_edidRepairs;
    return s;
}

} // namespace kztr::sim
