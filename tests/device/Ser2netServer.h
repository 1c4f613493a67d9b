#pragma once
// Debian's ser2net in the foreground with a configuration of its own, in front of one
// device (a simulated controller's pseudo-terminal), offering it on two free loopback
// ports: RFC 2217 and raw TCP. It can be killed and started again on the same ports.
#include "LoopbackServer.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <chrono>
#include <thread>

namespace kztr::test {

// True once something listens on 127.0.0.1:port. Read from /proc rather than tried with a
// connection: ser2net opens the device for every client, and a probe's client would still
// hold it when the test connects.
inline bool listeningOnLoopback(int port, std::chrono::milliseconds limit) {
    const QString local =
        QStringLiteral("0100007F:%1").arg(port, 4, 16, QLatin1Char('0')).toUpper();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        QFile f(QStringLiteral("/proc/net/tcp"));
        if (f.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : f.readAll().split('\n')) {
                const QList<QByteArray> fields = line.simplified().split(' ');
                if (fields.size() > 3 && fields[1] == local.toLatin1() && fields[3] == "0A")
                    return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

class Ser2netServer {
public:
    ~Ser2netServer() { stop(); }

    static QString executable() {
        return QStandardPaths::findExecutable(QStringLiteral("ser2net"));
    }

    // Picks the ports (the first time) and starts serving device; false with error set
    // when it does not come up. holdBack false turns off the server's gathering of line
    // input for a character time before sending it on.
    bool start(const QString& folder, const QString& device, QString& error, bool holdBack = true) {
        if (m_telnetPort == 0) {
            m_telnetPort = unusedLoopbackPort();
            m_rawPort = unusedLoopbackPort();
        }
        if (m_telnetPort <= 0 || m_rawPort <= 0 || m_telnetPort == m_rawPort) {
            error = QStringLiteral("no free loopback ports");
            return false;
        }
        const QString config = folder + QStringLiteral("/ser2net.yaml");
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly)) {
            error = QStringLiteral("cannot write ") + config;
            return false;
        }
        const QString connector =
            QStringLiteral("serialdev,%1,460800n81,local").arg(device) +
            (holdBack ? QString() : QStringLiteral("\n    options:\n      chardelay: false"));
        f.write(QStringLiteral("%YAML 1.1\n---\n"
                               "connection: &rfc2217\n"
                               "    accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n"
                               "    enable: on\n"
                               "    connector: %3\n"
                               "connection: &raw\n"
                               "    accepter: tcp,127.0.0.1,%2\n"
                               "    enable: on\n"
                               "    connector: %3\n")
                    .arg(m_telnetPort)
                    .arg(m_rawPort)
                    .arg(connector)
                    .toUtf8());
        f.close();

        m_process.setWorkingDirectory(folder);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(executable(),
                        {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("-c"), config,
                         QStringLiteral("-P"), folder + QStringLiteral("/ser2net.pid")});
        if (!m_process.waitForStarted(5000)) {
            error = m_process.errorString();
            return false;
        }
        using namespace std::chrono_literals;
        if (!listeningOnLoopback(m_rawPort, 5000ms) || !listeningOnLoopback(m_telnetPort, 5000ms)) {
            error = QStringLiteral("ser2net did not listen: ") + QString::fromUtf8(output());
            return false;
        }
        return true;
    }

    // As a crashing or powered-off server goes: no goodbye to its clients.
    void kill() {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.kill();
        m_process.waitForFinished(3000);
    }

    void stop() {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) kill();
    }

    QByteArray output() { return m_process.readAll(); }
    int telnetPort() const { return m_telnetPort; }
    int rawPort() const { return m_rawPort; }
    // The RZ8_PORT_MAP target of one of the two forms ("rfc2217" or "tcp").
    std::string target(const std::string& scheme) const {
        return scheme +
               "://127.0.0.1:" + std::to_string(scheme == "rfc2217" ? m_telnetPort : m_rawPort);
    }

private:
    int m_telnetPort = 0;
    int m_rawPort = 0;
    QProcess m_process;
};

} // namespace kztr::test
