#pragma once
// Folders that refuse new files for real: by their mode bits, or, for root (whom mode
// bits do not stop), by the immutable attribute.
#include "ModuleDirectory.h"

#include <QFile>
#include <QProcess>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

namespace kztr::test {

// True when dir refuses new files afterwards.
inline bool MakeUnwritable(const QString& dir) {
    ::chmod(QFile::encodeName(dir).constData(), 0555);
    if (IsWritableDirectory(dir) && ::geteuid() == 0)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), dir});
    return !IsWritableDirectory(dir);
}

inline void MakeWritableAgain(const QString& dir) {
    if (::geteuid() == 0) QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dir});
    ::chmod(QFile::encodeName(dir).constData(), 0755);
}

// Unwritable while it lives.
class UnwritableDir {
public:
    explicit UnwritableDir(const QString& dir) : m_dir(dir), m_ok(MakeUnwritable(dir)) {}
    ~UnwritableDir() { MakeWritableAgain(m_dir); }
    UnwritableDir(const UnwritableDir&) = delete;
    UnwritableDir& operator=(const UnwritableDir&) = delete;
    bool ok() const { return m_ok; }

private:
    QString m_dir;
    bool m_ok;
};

} // namespace kztr::test
