#include "CtlSession.h"

#include "ComScan.h"
#include "ConfigFields.h"
#include "EdidReport.h"
#include "PortMap.h"
#include "RZ8Frames.h"
#include "SerialError.h"

#include <algorithm>

namespace {
constexpr int kPatternPauseMs = 0;

// 0xFF is the controller's "no ID", not a 255th box.
QString boxIdText(uint8_t boxId) {
    return boxId == CRZ8Ctrl::kNoBoxId ? QStringLiteral("none") : QString::number(boxId);
}

// What the operator asked for, in the words of the help text.
QString commandName(uint8_t code) {
    switch (code) {
    case RZ8_BOOTCDE_SET_FULLDATA:
        return QStringLiteral("apply command");
    case RZ8_BOOTCDE_HW_RESET:
        return QStringLiteral("hardware reset");
    case RZ8_BOOTCDE_PATTERN_ON:
        return QStringLiteral("test pattern command");
    case RZ8_BOOTCDE_PATTERN_OFF:
        return QStringLiteral("pattern off command");
    case RZ8_BOOTCDE_SET_BOXID:
        return QStringLiteral("box ID command");
    case RZ8_BOOTCDE_RGBW_ON:
        return QStringLiteral("RGBW pattern command");
    case RZ8_BOOTCDE_GET_HPIXEL:
        return QStringLiteral("width request");
    case RZ8_BOOTCDE_GET_VPIXEL:
        return QStringLiteral("height request");
    case RZ8_BOOTCDE_GET_EDID:
        return QStringLiteral("EDID request");
    default:
        return QStringLiteral("command");
    }
}
} // namespace

CtlSession::CtlSession(const QString& logDir, kztr::Clock& clock)
    : m_clock(clock), m_exchange(clock, *this, *this, m_port) {
    m_strLogDir = logDir;
    m_strUserRes[0] = UserResStartupText(m_wHPIXEL, m_wVPIXEL);
    BuildSliderResInfo();
}

QChar CtlSession::ModelLetter(char model) {
    return model >= 0x20 && model < 0x7F ? QChar(model) : QChar('?');
}

QString CtlSession::ModelName(char model) {
    // The label without its polarity part, e.g. "ZEPH - T4/T5".
    return QString::asprintf(ModelLabelFormat(model), "").trimmed();
}

QString CtlSession::ControllerLine(const FoundController& c) {
    return QStringLiteral("COM%1  box ID %2  model %3  %4  firmware %5")
        .arg(c.com)
        .arg(boxIdText(c.boxId))
        .arg(ModelLetter(c.model))
        .arg(ModelName(c.model))
        .arg(c.fwVer);
}

QString CtlSession::BoxLabel(const FoundController& c) {
    return QStringLiteral("box ID %1 (COM%2, model %3)")
        .arg(boxIdText(c.boxId))
        .arg(c.com)
        .arg(ModelLetter(c.model));
}

QString CtlSession::PatternDone(const QString& mode) {
    if (mode == QLatin1String("on")) return QStringLiteral("test pattern on");
    if (mode == QLatin1String("rgbw")) return QStringLiteral("RGBW pattern on");
    return QStringLiteral("test and RGBW patterns off");
}

QString CtlSession::NothingFound(int first, int last) {
    // "COM1 (/dev/ttyUSB0)": where a COM number is looked for on this machine.
    const auto where = [](int com) {
        return QStringLiteral("COM%1 (%2)")
            .arg(com)
            .arg(QString::fromStdString(kztr::devicePathForCom(com)));
    };
    return QStringLiteral("no controller found on %1 to %2").arg(where(first), where(last));
}

QString CtlSession::OpenFailure(int com, int err) {
    const QString text = QStringLiteral("COM%1: cannot open the port").arg(com);
    if (err == 0) return text;
    return text + QStringLiteral(" %1: %2").arg(QString::fromStdString(kztr::devicePathForCom(com)),
                                                QString::fromStdString(kztr::describeErrno(err)));
}

std::vector<FoundController> CtlSession::Scan(int first, int last, QStringList* notes) {
    std::vector<FoundController> found;
    for (const kztr::ComProbe& probe : kztr::ScanComs(
             m_clock, *this, *this, first, last, kztr::ScanOrder::AllAtOnce, {}, &m_hTmpRZ8Full)) {
        switch (probe.result) {
        case kztr::ProbeResult::NotOpened:
            if (notes && probe.openError != 0 &&
                kztr::classifyErrno(probe.openError) != kztr::SerialError::NotFound)
                *notes << OpenFailure(probe.com, probe.openError);
            break;
        case kztr::ProbeResult::Silent:
            if (notes)
                *notes << QStringLiteral("COM%1: the port opened but no controller answered")
                              .arg(probe.com);
            break;
        case kztr::ProbeResult::Answered:
            found.push_back(
                {probe.com, probe.reply.box_id, char(probe.reply.model), probe.reply.fw_ver});
            break;
        }
    }
    std::stable_sort(
        found.begin(), found.end(),
        [](const FoundController& a, const FoundController& b) { return a.boxId < b.boxId; });
    return found;
}

bool CtlSession::Connect(int com, QString& error) {
    CRZ8Ctrl& link = m_port;
    m_nCom = com;
    // Opening an open link keeps its old port.
    link.ClosePort();
    m_exchange.Forget();
    if (!link.OpenPort(com, RZ8_BAUD)) {
        error = OpenFailure(com, link.LastError());
        return false;
    }
    if (!m_exchange.APIPR_GetRZ8FullData(m_hTmpRZ8Full)) {
        error = QStringLiteral("COM%1: no controller answered the configuration request").arg(com);
        return false;
    }
    link.SetFwVer(m_hTmpRZ8Full.fw_ver);
    link.SetComNumber(uint8_t(com));
    link.SetBoxId(m_hTmpRZ8Full.box_id);
    m_hOldRZ8Full = m_hTmpRZ8Full;
    m_hCurRZ8Full = m_hTmpRZ8Full;
    m_hRZ8DevBoxMode = BoxModeFromModelLetter(char(m_hOldRZ8Full.model));
    m_exchange.SetBoxMode(m_hRZ8DevBoxMode);
    m_wHBlank = m_hCurRZ8Full.iHLimit();
    return true;
}

bool CtlSession::ReadSnapshot(int com, ControllerSnapshot& out, QString& error) {
    if (!Connect(com, error)) return false;
    const bool userDefined = m_hTmpRZ8Full.hRZ8Data.I_output_mode == kUserResPosition;
    if (userDefined && !ReadPixelCounts(error)) return false;
    out = LastRead();
    if (userDefined) out.userPixels = QSize(m_wHPIXEL, m_wVPIXEL);
    return true;
}

ControllerSnapshot CtlSession::LastRead() const {
    ControllerSnapshot out;
    out.controller = Current();
    out.config = m_hTmpRZ8Full;
    out.resolution = ResolutionText(SliderListForBoxMode(m_hRZ8DevBoxMode),
                                    m_hTmpRZ8Full.hRZ8Data.I_output_mode);
    return out;
}

bool CtlSession::Command(RZ8Full& record, uint8_t code, uint8_t boxId, int pauseMs,
                         QString& error) {
    if (m_exchange.APIPR_SetRZ8FullData(record, code, boxId, pauseMs)) return true;
    error = QStringLiteral("COM%1: the controller did not confirm the %2 (0x%3)")
                .arg(m_nCom)
                .arg(commandName(code), HexByte(code));
    return false;
}

bool CtlSession::ReadPixelCounts(QString& error) {
    const uint8_t box = m_port.GetBoxId();
    // From a copy: a send may rewrite the rate, and show prints m_hTmpRZ8Full as read.
    RZ8Full query = m_hTmpRZ8Full;
    if (!Command(query, RZ8_BOOTCDE_GET_HPIXEL, box, kCommandPauseMs, error) ||
        !Command(query, RZ8_BOOTCDE_GET_VPIXEL, box, kCommandPauseMs, error))
        return false;
    m_wHPIXEL = m_exchange.ReportedHPixel();
    m_wVPIXEL = m_exchange.ReportedVPixel();
    for (QString& text : m_strUserRes)
        text = UserResText(m_wHPIXEL, m_wVPIXEL);
    BuildSliderResInfo();
    return true;
}

FoundController CtlSession::Current() const {
    return {m_nCom, m_port.GetBoxId(), char(m_hOldRZ8Full.model), m_port.GetFwVer()};
}

QStringList CtlSession::Describe() {
    QStringList lines;
    lines << ControllerLine(Current());
    const QString resolution = ResolutionText(SliderListForBoxMode(m_hRZ8DevBoxMode),
                                              m_hTmpRZ8Full.hRZ8Data.I_output_mode);
    lines << DescribeConfig(m_hTmpRZ8Full, resolution);
    return lines;
}

bool CtlSession::ApplyCurrent(QString& error) {
    m_wHBlank = m_hCurRZ8Full.iHLimit();
    if (!Command(m_hCurRZ8Full, RZ8_BOOTCDE_SET_FULLDATA, m_port.GetBoxId(), kCommandPauseMs,
                 error))
        return false;
    if (!m_exchange.APIPR_GetRZ8FullData(m_hTmpRZ8Full)) {
        error = QStringLiteral("COM%1: the configuration could not be read back").arg(m_nCom);
        return false;
    }
    m_hDevRZ8Full = m_hTmpRZ8Full;
    return true;
}

bool CtlSession::WriteCurrent(QString& error) {
    if (m_hCurRZ8Full.hRZ8Data.I_output_mode == kUserResPosition && !ReadPixelCounts(error))
        return false;
    return ApplyCurrent(error);
}

bool CtlSession::Pattern(const QString& mode, QString& error) {
    const uint8_t code = mode == QLatin1String("on")     ? RZ8_BOOTCDE_PATTERN_ON
                         : mode == QLatin1String("rgbw") ? RZ8_BOOTCDE_RGBW_ON
                                                         : RZ8_BOOTCDE_PATTERN_OFF;
    return Command(m_hCurRZ8Full, code, m_port.GetBoxId(), kPatternPauseMs, error);
}

bool CtlSession::SetBoxId(uint8_t newId, QString& error) {
    if (!Command(m_hCurRZ8Full, RZ8_BOOTCDE_SET_BOXID, newId, kCommandPauseMs, error)) return false;
    m_port.SetBoxId(newId);
    return true;
}

bool CtlSession::Reset(QString& error) {
    return Command(m_hCurRZ8Full, RZ8_BOOTCDE_HW_RESET, m_port.GetBoxId(), kCommandPauseMs, error);
}

bool CtlSession::ReadEdid(EdidReadout& readout, QString& error) {
    m_hTmpRZ8Full.setParam(0);
    readout = EdidReadout{};
    readout.controller = Current();
    if (!Command(m_hTmpRZ8Full, RZ8_BOOTCDE_GET_EDID, m_port.GetBoxId(), kCommandPauseMs, error))
        return false;
    const uint8_t* block = m_exchange.Block();
    const int length =
        std::clamp(m_exchange.GetLastBlockLength(), 0, CRZ8Exchange::kEDIDBufferSize);
    readout.bytes = QByteArray(reinterpret_cast<const char*>(block), length);
    if (!readout.whole()) {
        error = QStringLiteral("COM%1: the EDID block was incomplete (%2 of %3 bytes)")
                    .arg(m_nCom)
                    .arg(length)
                    .arg(RZ8_BLOCK_LEN);
        return false;
    }
    readout.headerOk = HasEdidHeader(block);
    readout.sums = ExamineBlockChecksums(block);
    readout.syncFlags = block[RZ8_EDID_SYNC_FLAGS_OFFSET];
    return true;
}

bool CtlSession::ReadEdid(QStringList& report, QString& error) {
    EdidReadout readout;
    const bool ok = ReadEdid(readout, error);
    // An unanswered request has nothing to show; an incomplete block shows what came.
    if (ok || !readout.bytes.isEmpty()) report << EdidReportLines(readout);
    return ok;
}
