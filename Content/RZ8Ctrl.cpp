#include "RZ8Ctrl.h"

#include "DebugTrace.h"

#include <algorithm>
#include <thread>

CSerialPort::CSerialPort() : m_pBackend(kztr::makeSerialBackend()) {}

CSerialPort::~CSerialPort() {
    Close();
}

BOOL CSerialPort::Open(int nPort, int nBaud) {
    if (m_bOpened) return TRUE;
    if (!m_pBackend || !m_pBackend->open(nPort, nBaud)) return FALSE;
    m_bOpened = TRUE;
    return TRUE;
}

BOOL CSerialPort::Close() {
    if (!m_bOpened) return FALSE;
    m_pBackend->close();
    m_bOpened = FALSE;
    return TRUE;
}

int CSerialPort::Read(void* pBuffer, int nCapacity) {
    if (!m_bOpened || !pBuffer || nCapacity <= 0) return 0;
    const int queued = m_pBackend->bytesQueued();
    if (queued <= 0) return 0;
    const int n = m_pBackend->read(static_cast<uint8_t*>(pBuffer), std::min(queued, nCapacity));
    return n > 0 ? n : 0;
}

BOOL CSerialPort::Write(const void* pData, int nLength) {
    if (!m_bOpened || !pData || nLength <= 0) return FALSE;
    const int n = m_pBackend->write(static_cast<const uint8_t*>(pData), nLength, kWriteLimit);
    return n > 0 ? TRUE : FALSE;
}

int CSerialPort::BytesInQueue() {
    if (!m_bOpened) return 0;
    const int queued = m_pBackend->bytesQueued();
    return queued > 0 ? queued : 0;
}

bool CSerialPort::WaitReadable(std::chrono::milliseconds limit) {
    if (!m_bOpened) return false;
    const auto until = std::chrono::steady_clock::now() + limit;
    const kztr::WaitResult result = m_pBackend->waitReadable(limit);
    // As with an unplugged adapter: sit out the limit instead of making callers spin.
    if (result == kztr::WaitResult::Failed) std::this_thread::sleep_until(until);
    return result == kztr::WaitResult::Readable;
}

kztr::WaitResult CSerialPort::WaitInput(std::chrono::milliseconds limit) {
    if (!m_bOpened) return kztr::WaitResult::Failed;
    return m_pBackend->waitReadable(limit);
}

void CSerialPort::PurgeInput() {
    if (m_bOpened) m_pBackend->purgeInput();
}

int CSerialPort::LastError() const {
    return m_pBackend ? m_pBackend->lastError() : 0;
}

BOOL CRZ8Ctrl::APIPU_SendData(const void* pData, int nLength) {
    uint8_t stale[kStaleDiscardMax];
    const int dropped = Read(stale, kStaleDiscardMax);
    RZ8_TRACE("[D][Send]APIPU_SendData clear uart data len=%d\n", dropped);
    // Only after stale input: a device server's answer to the purge ahead of the reply
    // can hold the reply back by a delayed acknowledgement (40 ms) on every exchange.
    if (dropped > 0) PurgeInput();
    return Write(pData, nLength);
}
