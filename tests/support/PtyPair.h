#pragma once
// A pseudo-terminal for tests that stand in for the far end of a serial line. The slave
// side is put in raw mode and held open, so the master never sees a hang-up while the
// code under test opens and closes the slave by its path (or a COM<n> link to it).
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace kztr::test {

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return m_master >= 0 && m_slave >= 0; }
    const std::string& error() const { return m_error; }
    int masterFd() const { return m_master; }
    int slaveFd() const { return m_slave; }
    const std::string& slavePath() const { return m_slavePath; }

    // Creates a symbolic link to the slave (e.g. <dir>/COM3).
    bool linkAs(const std::string& linkPath) const;

    // Writes everything to the master (the bytes arrive at the slave's input).
    bool writeMaster(const std::vector<uint8_t>& bytes) const;
    // Reads from the master until count bytes came or limit ran out.
    std::vector<uint8_t> readMaster(size_t count, std::chrono::milliseconds limit) const;
    // Bytes queued at the slave's input (what the port under test would read).
    int slaveQueued() const;
    // Waits until the slave's input holds at least count bytes.
    bool waitSlaveQueued(int count, std::chrono::milliseconds limit) const;

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
    std::string m_error;
};

} // namespace kztr::test
