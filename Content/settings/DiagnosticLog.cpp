#include "DiagnosticLog.h"

#include "DebugTrace.h"

#include <QDir>
#include <QFile>
#include <mutex>

namespace {

std::mutex g_sourceMutex;
std::function<QDateTime()> g_dateTimeSource;

QDateTime currentDateTime() {
    std::function<QDateTime()> source;
    {
        std::lock_guard<std::mutex> lock(g_sourceMutex);
        source = g_dateTimeSource;
    }
    return source ? source() : QDateTime::currentDateTime();
}

} // namespace

void SetLogDateTimeSource(std::function<QDateTime()> source) {
    std::lock_guard<std::mutex> lock(g_sourceMutex);
    g_dateTimeSource = std::move(source);
}

int WriteLogFileLine(int /*flag*/, const QString& directory, const QString& text) {
    // One reading of the clock, so a line written across midnight names its own day.
    const QDateTime now = currentDateTime();
    const QString fileName = now.toString(QStringLiteral("yyyy.MM.dd")) + QStringLiteral(".txt");

    // Only the last level: a missing parent means a misplaced directory, not ours to make.
    // Failure (already there, or not possible) shows up at the open below.
    QDir().mkdir(directory);

    const QString path = QDir(directory).filePath(fileName);
    QString line = now.toString(QStringLiteral("[HH:mm:ss]")) + QStringLiteral(": ") + text;
    line += QLatin1Char('\n');
    // CR LF on disk, for every line break, so existing log readers keep working.
    line.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QByteArray bytes = line.toUtf8();

    // Append mode (O_APPEND) and one unbuffered write: concurrent writers add whole lines.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        RZ8_TRACE("[D]WriteLogFileLine cannot open %s: %s\n", qUtf8Printable(path),
                  qUtf8Printable(file.errorString()));
        return 0;
    }
    const qint64 written = file.write(bytes);
    const bool flushed = file.flush();
    file.close();
    if (written != bytes.size() || !flushed) {
        RZ8_TRACE("[D]WriteLogFileLine short write to %s: %s\n", qUtf8Printable(path),
                  qUtf8Printable(file.errorString()));
        return 0;
    }
    return 1;
}
