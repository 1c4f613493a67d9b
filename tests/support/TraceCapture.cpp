#include "TraceCapture.h"

#include <QLoggingCategory>
#include <QString>
#include <atomic>
#include <cstring>

namespace kztr::test {
namespace {
std::atomic<TraceCapture*> active{nullptr};
} // namespace

TraceCapture::TraceCapture() {
    m_outer = active.exchange(this);
    m_previous = qInstallMessageHandler(&TraceCapture::handler);
    QLoggingCategory::setFilterRules(QStringLiteral("rz8.trace.debug=true"));
}

TraceCapture::~TraceCapture() {
    // Rules set here are dropped; an enclosing capture keeps the category on.
    if (!m_outer) QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(m_previous);
    active.store(m_outer);
}

void TraceCapture::handler(QtMsgType type, const QMessageLogContext& context, const QString& msg) {
    TraceCapture* self = active.load();
    if (self && context.category && std::strcmp(context.category, "rz8.trace") == 0) {
        self->add(context, msg);
        return;
    }
    if (self && self->m_previous) self->m_previous(type, context, msg);
}

void TraceCapture::add(const QMessageLogContext& context, const QString& msg) {
    TraceLine line;
    line.file = context.file ? context.file : "";
    line.line = context.line;
    std::string text = msg.toStdString();
    // DebugTrace writes "file:line: text".
    const std::string prefix = line.file + ":" + std::to_string(context.line) + ": ";
    if (!line.file.empty() && text.compare(0, prefix.size(), prefix) == 0)
        text.erase(0, prefix.size());
    line.text = std::move(text);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.push_back(std::move(line));
}

std::vector<TraceLine> TraceCapture::lines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines;
}

std::vector<std::string> TraceCapture::texts() const {
    std::vector<std::string> out;
    for (const TraceLine& l : lines())
        out.push_back(l.text);
    return out;
}

int TraceCapture::count(const std::string& fragment) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    int n = 0;
    for (const TraceLine& l : m_lines)
        if (l.text.find(fragment) != std::string::npos) ++n;
    return n;
}

void TraceCapture::clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

} // namespace kztr::test
