#pragma once
// Diagnostic trace lines ("[D]..."): go to the rz8.trace logging category with the
// calling source file and line, never to the disk or the operator. Off by default;
// QT_LOGGING_RULES="rz8.trace.debug=true" turns them on.
#include <QLoggingCategory>
#include <QString>
#include <vector>

Q_DECLARE_LOGGING_CATEGORY(rz8Trace)

class DebugTrace {
public:
    DebugTrace(const char* sourceFile, int line) : m_file(sourceFile), m_line(line) {}

    // printf-style; a trailing "\n" of the text is dropped (the sink ends lines itself).
    void operator()(const char* format, ...) const __attribute__((format(printf, 2, 3)));
    void operator()(const wchar_t* format, ...) const;

    // A line as the sink would get it, held back by a TraceHold.
    struct Line {
        const char* file;
        int line;
        QString text;
    };
    // Hands a kept line to the sink, as if it were traced now.
    static void Emit(const Line& line);

private:
    void emitLine(const QString& text) const;
    const char* m_file;
    int m_line;
};

// While one lives, the trace lines of its own thread are kept in it instead of going to
// the sink, so that work done on several threads at once can be traced afterwards in
// the order the same work done one after another would have traced it.
class TraceHold {
public:
    TraceHold();
    ~TraceHold();
    TraceHold(const TraceHold&) = delete;
    TraceHold& operator=(const TraceHold&) = delete;

    std::vector<DebugTrace::Line> Take() { return std::move(m_lines); }

private:
    friend class DebugTrace;
    TraceHold* m_pOuter;
    std::vector<DebugTrace::Line> m_lines;
};

#define RZ8_TRACE DebugTrace(__FILE__, __LINE__)
