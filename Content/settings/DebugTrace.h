#pragma once
// Diagnostic trace lines ("[D]..."): go to the rz8.trace logging category with the
// calling source file and line, never to the disk or the operator. Off by default;
// QT_LOGGING_RULES="rz8.trace.debug=true" turns them on.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(rz8Trace)

class DebugTrace {
public:
    DebugTrace(const char* sourceFile, int line) : m_file(sourceFile), m_line(line) {}

    // printf-style; a trailing "\n" of the text is dropped (the sink ends lines itself).
    void operator()(const char* format, ...) const __attribute__((format(printf, 2, 3)));
    void operator()(const wchar_t* format, ...) const;

private:
    void emitLine(const QString& text) const;
    const char* m_file;
    int m_line;
};

#define RZ8_TRACE DebugTrace(__FILE__, __LINE__)
