#pragma once
// The device link: CSerialPort carries the byte stream of one COM port with fixed line
// settings and time limits; CRZ8Ctrl adds the identity of the controller behind it and
// the one send operation, which drops stale input first.
#include "SerialBackend.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
using BOOL = int;

class CSerialPort {
public:
    CSerialPort();
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // TRUE when the port is open afterwards; on an open port a no-op that keeps it.
    BOOL Open(int nPort, int nBaud);
    // TRUE if a port was closed, FALSE if none was open.
    BOOL Close();
    // Copies what is already queued, at most nCapacity bytes; never waits. 0 when
    // nothing was queued, the port is closed or the read failed.
    int Read(void* pBuffer, int nCapacity);
    // TRUE when at least one byte was written within the write limit.
    BOOL Write(const void* pData, int nLength);
    int BytesInQueue();
    BOOL IsOpen() const { return m_bOpened; }

    // Waits without spinning until input is queued or the limit ran out; false when
    // closed. Lets callers wait for a reply instead of sleeping between polls.
    bool WaitReadable(std::chrono::milliseconds limit);
    // The same wait telling a failed port (nothing can arrive any more) apart at once, so
    // that the caller spends the rest of its time on its own clock. Failed when closed.
    kztr::WaitResult WaitInput(std::chrono::milliseconds limit);
    // Drops input a device server still holds for this port (see SerialBackend).
    void PurgeInput();
    // errno of the last failed operation of the system port (0 when none), so that a
    // tool can say why a port did not open.
    int LastError() const;

    static constexpr auto kWriteLimit = std::chrono::milliseconds(1000);

private:
    std::unique_ptr<kztr::SerialBackend> m_pBackend;
    BOOL m_bOpened = FALSE;
};

class CRZ8Ctrl : public CSerialPort {
public:
    CRZ8Ctrl() = default;

    int OpenPort(int nPort, int nBaud) { return Open(nPort, nBaud) ? 1 : 0; }
    BOOL ClosePort() { return Close(); }
    int ReadData(void* pBuffer, int nCapacity) { return Read(pBuffer, nCapacity); }
    // Drops up to 32 stale input bytes (one read), traces how many, has a device server
    // drop what it still holds when there were any, then writes.
    BOOL APIPU_SendData(const void* pData, int nLength);

    uint8_t GetFwVer() const { return fw_ver; }
    void SetFwVer(uint8_t v) { fw_ver = v; }
    uint8_t GetComNumber() const { return m_byComNumber; }
    void SetComNumber(uint8_t v) { m_byComNumber = v; }
    // A controller without an ID reports this one.
    static constexpr uint8_t kNoBoxId = 0xFF;
    uint8_t GetBoxId() const { return box_id; }
    void SetBoxId(uint8_t v) { box_id = v; }

    // The bytes of the last EDID block this controller sent (fewer than 256 when it
    // stopped short); empty until one came. The panel's tool tip reads it while a worker
    // may be talking to the controller, hence the copy under a lock.
    std::vector<uint8_t> GetEdid() const {
        std::lock_guard<std::mutex> lock(m_edidMutex);
        return m_vecEdid;
    }
    void SetEdid(const uint8_t* pBlock, int nLength) {
        std::lock_guard<std::mutex> lock(m_edidMutex);
        m_vecEdid.assign(pBlock, pBlock + nLength);
    }
    void ClearEdid() {
        std::lock_guard<std::mutex> lock(m_edidMutex);
        m_vecEdid.clear();
    }

    static constexpr int kStaleDiscardMax = 32;

private:
    mutable std::mutex m_edidMutex;
    std::vector<uint8_t> m_vecEdid;
    uint8_t fw_ver = 0;
    uint8_t m_byComNumber = 0;
    // Written by a worker when an Apply renumbers the box, read by the panel's keys.
    std::atomic<uint8_t> box_id{0};
};
