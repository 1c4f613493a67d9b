#pragma once
// Shared by the fuzz targets: invariant checks that stop the run like a crash (so
// libFuzzer keeps the input as a reproducer), and trace lines that are formatted but
// dropped, so the trace code runs on fuzzed bytes without flooding the output.
#include <QLoggingCategory>
#include <QString>
#include <cstdio>
#include <cstdlib>

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

} // namespace kztr::fuzz
