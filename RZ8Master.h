#pragma once
// The application object: one copy per user session, the text table, and the main
// frame run modally until it ends.
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

class CGUIGDIPlusMfcFrameMain;

class VEV8AdevevAvi {
public:
    // Claims the single copy; false when another copy of this user already runs, and
    // the caller then ends at once with status 0. Needs no application object, so it
    // runs before any window-system set-up and the second copy leaves without a word.
    bool TakeInstanceLock();

    // Runs the whole application once the QApplication exists; returns the process
    // exit status (0, or non-zero after a failed start-up). configure, when given, sees
    // the frame after its construction and before its run (run modes use it).
    int InitInstance(const std::function<void(CGUIGDIPlusMfcFrameMain&)>& configure = {});

    // The lock file that marks a running copy: in the user's runtime directory, or the
    // temporary directory when there is none.
    static QString InstanceLockPath();

private:
    std::unique_ptr<QLockFile> m_pInstanceLock; // held until the process ends
};
