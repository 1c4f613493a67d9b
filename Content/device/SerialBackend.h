#pragma once
// Seam under CSerialPort: the operating-system side of one port. The termios backend
// talks to real devices (and pseudo-terminals), the network backend to serial device
// servers; tests substitute scripted ports.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace kztr {

// What a wait for input ended with. Failed: the port can bring nothing any more (a lost
// network link); the caller decides how to spend the rest of its time.
enum class WaitResult { Readable, TimedOut, Failed };

class SerialBackend {
public:
    virtual ~SerialBackend() = default;
    // Opens the device behind COM<comNumber> with 8N1 at baudRate; false leaves nothing open.
    virtual bool open(int comNumber, int baudRate) = 0;
    virtual void close() = 0;
    // Bytes waiting in the input queue; negative on failure.
    virtual int bytesQueued() = 0;
    // Copies at most capacity queued bytes, never waits; negative on failure.
    virtual int read(uint8_t* buffer, int capacity) = 0;
    // Writes all bytes, waiting at most limit for the port; returns bytes written
    // (0 when the limit ran out first), negative on failure.
    virtual int write(const uint8_t* data, int length, std::chrono::milliseconds limit) = 0;
    // Blocks (without spinning) until input is queued or limit runs out; a port that has
    // failed says so at once.
    virtual WaitResult waitReadable(std::chrono::milliseconds limit) = 0;
    // Drops input held beyond this machine (a device server's buffer) before a send; what
    // is queued here stays for read().
    virtual void purgeInput() {}
    // errno of the last failure (0 when none or not known), for telling the operator why.
    virtual int lastError() const { return 0; }
};

using SerialBackendFactory = std::function<std::unique_ptr<SerialBackend>()>;

// Backend for newly constructed ports; tests install their own factory.
std::unique_ptr<SerialBackend> makeSerialBackend();
// Empty = the default again: termios for a device path, sockets for a network target.
void setSerialBackendFactory(SerialBackendFactory factory);

} // namespace kztr
