#pragma once
// The application object: one copy per user session, the text table, and the main
// frame run modally until it ends.
#include <QLockFile>
#include <QString>
#include <memory>

class VEV8AdevevAvi {
public:
    // Runs the whole application; returns the process exit status (0, also when
    // another copy already runs).
    int InitInstance();

    // The lock file that marks a running copy: in the user's runtime directory, or the
    // temporary directory when there is none.
    static QString InstanceLockPath();

private:
    std::unique_ptr<QLockFile> m_pInstanceLock; // held until the process ends
};
