#include "RZ8Master.h"

#include "DebugTrace.h"
#include "ErrorBox.h"
#include "GUIGDIPlusMfcFrameMain.h"
#include "GUITextTable.h"
#include "MessageBoxErrorSink.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <unistd.h>

QString VEV8AdevevAvi::InstanceLockPath() {
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::tempPath();
    // The user id keeps copies of different users in a shared directory apart.
    return dir + QStringLiteral("/VEV8AdevevAvi-%1.lock").arg(getuid());
}

namespace {
// Making and filling a lock file takes microseconds; one that still names no owner after
// this long was left by a copy that died in between.
constexpr qint64 kOwnerlessLockGraceMs = 10000;
} // namespace

bool VEV8AdevevAvi::TakeInstanceLock() {
    const QString path = InstanceLockPath();
    m_pInstanceLock = std::make_unique<QLockFile>(path);
    // A running copy may run for days: only a dead owner makes the lock stale.
    m_pInstanceLock->setStaleLockTime(0);
    if (m_pInstanceLock->tryLock(0)) return true;
    if (m_pInstanceLock->error() == QLockFile::LockFailedError) {
        // Without an owner in it the lock would never count as stale and would keep
        // every later copy out for good.
        qint64 pid = 0;
        QString host, app;
        if (m_pInstanceLock->getLockInfo(&pid, &host, &app)) return false;
        const QDateTime written = QFileInfo(path).lastModified();
        if (!written.isValid() ||
            written.msecsTo(QDateTime::currentDateTime()) < kOwnerlessLockGraceMs)
            return false;
        RZ8_TRACE("[D]VEV8AdevevAvi lock file %s names no owner; taken over\n",
                  qUtf8Printable(path));
        return m_pInstanceLock->removeStaleLockFile() && m_pInstanceLock->tryLock(0);
    }
    // The lock could not even be made (no writable directory): run unguarded.
    RZ8_TRACE("[D]VEV8AdevevAvi lock file %s not usable (error %d)\n", qUtf8Printable(path),
              static_cast<int>(m_pInstanceLock->error()));
    return true;
}

int VEV8AdevevAvi::InitInstance(const std::function<void(CGUIGDIPlusMfcFrameMain&)>& configure) {
    GUITextTable::Instance().Fill();

    MessageBoxErrorSink errorBoxes;
    ErrorBoxSink* previousSink = SetErrorBoxSink(&errorBoxes);
    int status = 0;
    {
        CGUIGDIPlusMfcFrameMain frame;
        errorBoxes.SetOwner(&frame);
        if (configure) configure(frame);
        // Non-zero only after a failed start-up or a run mode that failed.
        status = frame.exec();
        frame.DestroyWindow();
    }
    SetErrorBoxSink(previousSink);
    return status;
}
