#pragma once
// Collects the trace lines ("[D]...") emitted while it lives. Turns the rz8.trace
// category on, chains every other message to the handler that was installed before,
// and puts both back on destruction. Lines may come from any thread.
#include <QtGlobal>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace kztr::test {

struct TraceLine {
    std::string file; // source file name of the trace call, e.g. "RZ8Ctrl.cpp"
    int line = 0;     // and its line
    std::string text; // the line without the "file:line: " prefix
    bool operator==(const TraceLine& o) const {
        return file == o.file && line == o.line && text == o.text;
    }
};

inline void PrintTo(const TraceLine& l, std::ostream* os) {
    *os << l.file << ':' << l.line << ": " << l.text;
}

class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::vector<TraceLine> lines() const;
    std::vector<std::string> texts() const;
    // Number of lines whose text contains fragment.
    int count(const std::string& fragment) const;
    bool contains(const std::string& fragment) const { return count(fragment) > 0; }
    void clear();

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& msg);
    void add(const QMessageLogContext& context, const QString& msg);

    mutable std::mutex m_mutex;
    std::vector<TraceLine> m_lines;
    QtMessageHandler m_previous = nullptr;
    TraceCapture* m_outer = nullptr;
};

} // namespace kztr::test
