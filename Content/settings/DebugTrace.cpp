#include "DebugTrace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

// Debug level off unless the logging rules turn it on.
Q_LOGGING_CATEGORY(rz8Trace, "rz8.trace", QtInfoMsg)

namespace {
thread_local TraceHold* t_pHold = nullptr;

const char* baseName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}
} // namespace

void DebugTrace::operator()(const char* format, ...) const {
    if (!rz8Trace().isDebugEnabled()) return;
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        va_end(args);
        return;
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    emitLine(QString::fromUtf8(buffer.data(), length));
}

void DebugTrace::operator()(const wchar_t* format, ...) const {
    if (!rz8Trace().isDebugEnabled()) return;
    // vswprintf cannot measure; grow until the text fits.
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        const int length = std::vswprintf(buffer.data(), buffer.size(), format, args);
        va_end(args);
        if (length >= 0) {
            emitLine(QString::fromWCharArray(buffer.data(), length));
            return;
        }
        if (buffer.size() >= (1u << 20)) return; // formatting failed: emit nothing
        buffer.resize(buffer.size() * 2);
    }
}

void DebugTrace::emitLine(const QString& text) const {
    Line line{m_file, m_line, text};
    if (line.text.endsWith(QLatin1Char('\n'))) line.text.chop(1);
    if (t_pHold)
        t_pHold->m_lines.push_back(std::move(line));
    else
        Emit(line);
}

void DebugTrace::Emit(const Line& line) {
    // File and line go into the text itself, so every sink shows them.
    const char* file = baseName(line.file);
    QMessageLogger(file, line.line, nullptr, rz8Trace().categoryName())
        .debug("%s:%d: %s", file, line.line, qUtf8Printable(line.text));
}

TraceHold::TraceHold() : m_pOuter(t_pHold) {
    t_pHold = this;
}

TraceHold::~TraceHold() {
    t_pHold = m_pOuter;
}
