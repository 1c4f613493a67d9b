#pragma once
// What a COM number names: a local device path, or a port on a serial device server
// reached over TCP, either speaking RFC 2217 (telnet with COM-PORT-OPTION) or carrying
// the raw byte stream.
#include <optional>
#include <string>

namespace kztr {

struct PortTarget {
    enum class Kind { Device, Tcp, Rfc2217 };
    Kind kind = Kind::Device;
    std::string path; // Device only
    std::string host; // network kinds: name or literal, IPv6 without its brackets
    int port = 0;     // network kinds: 1..65535

    bool isNetwork() const { return kind != Kind::Device; }
    bool operator==(const PortTarget& o) const {
        return kind == o.kind && path == o.path && host == o.host && port == o.port;
    }
};

// "rfc2217://HOST:PORT", "tcp://HOST:PORT" (HOST may be "[v6::literal]") or a device
// path. Empty for anything malformed, including an unknown "scheme://".
std::optional<PortTarget> parsePortTarget(const std::string& text);

} // namespace kztr
