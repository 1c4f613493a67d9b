#pragma once
// Shared by the fuzz targets: invariant checks that stop the run like a crash (so
// libFuzzer keeps the input as a reproducer), and trace lines that are formatted but
// dropped, so the trace code runs on fuzzed bytes without flooding the output.
#include <QLoggingCategory>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);          \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace kztr::fuzz {

inline void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// Turns the rz8.trace category on and drops every message; once per process.
inline void FormatAndDropTraces() {
    static const bool done = [] {
        qInstallMessageHandler(&DropMessage);
        QLoggingCategory::setFilterRules(QStringLiteral("rz8.trace.debug=true"));
        return true;
    }();
    (void)done;
}

// The fuzzer's input read as a script, a byte or a run at a time; 0 once it is used up.
class Script {
public:
    Script(const uint8_t* data, size_t size) : m_data(data), m_left(size) {}
    bool empty() const { return m_left == 0; }
    uint8_t byte() {
        if (m_left == 0) return 0;
        --m_left;
        return *m_data++;
    }
    std::vector<uint8_t> take(size_t n) {
        n = std::min(n, m_left);
        std::vector<uint8_t> out(m_data, m_data + n);
        m_data += n;
        m_left -= n;
        return out;
    }
    size_t left() const { return m_left; }

private:
    const uint8_t* m_data;
    size_t m_left;
};

} // namespace kztr::fuzz
