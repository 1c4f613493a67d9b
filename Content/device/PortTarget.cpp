#include "PortTarget.h"

#include <cctype>

namespace kztr {
namespace {

std::optional<int> parsePort(const std::string& digits) {
    if (digits.empty() || digits.size() > 5) return std::nullopt;
    int port = 0;
    for (const char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

std::optional<PortTarget> parseHostPort(PortTarget::Kind kind, const std::string& rest) {
    PortTarget t;
    t.kind = kind;
    std::string portText;
    if (!rest.empty() && rest[0] == '[') {
        const auto close = rest.find(']');
        if (close == std::string::npos || close + 1 >= rest.size() || rest[close + 1] != ':')
            return std::nullopt;
        t.host = rest.substr(1, close - 1);
        if (t.host.find(':') == std::string::npos) return std::nullopt; // brackets are for v6
        portText = rest.substr(close + 2);
    } else {
        const auto colon = rest.rfind(':');
        if (colon == std::string::npos) return std::nullopt;
        t.host = rest.substr(0, colon);
        // An unbracketed v6 literal would make the port ambiguous.
        if (t.host.find(':') != std::string::npos) return std::nullopt;
        portText = rest.substr(colon + 1);
    }
    if (t.host.empty()) return std::nullopt;
    for (const char c : t.host) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isspace(u) || c == '/' || c == '[' || c == ']' || c == '@') return std::nullopt;
    }
    const auto port = parsePort(portText);
    if (!port) return std::nullopt;
    t.port = *port;
    return t;
}

} // namespace

std::optional<PortTarget> parsePortTarget(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const auto sep = text.find("://");
    if (sep == std::string::npos) {
        PortTarget t;
        t.path = text;
        return t;
    }
    const std::string scheme = text.substr(0, sep);
    const std::string rest = text.substr(sep + 3);
    if (scheme == "rfc2217") return parseHostPort(PortTarget::Kind::Rfc2217, rest);
    if (scheme == "tcp") return parseHostPort(PortTarget::Kind::Tcp, rest);
    return std::nullopt;
}

} // namespace kztr
