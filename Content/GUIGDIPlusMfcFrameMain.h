#pragma once
// The main frame: owns the running system (durations, paths, and later the records,
// device links, catalogue and panel) and is run modally by the application.
#include "ModuleDirectory.h"
#include "SettingFile.h"

#include <QDialog>

class CGUIGDIPlusMfcFrameMain : public QDialog {
    Q_OBJECT
public:
    // moduleDir: where the settings file and the log directory live; the executable's
    // directory unless a test says otherwise. Reads the durations from the settings file.
    explicit CGUIGDIPlusMfcFrameMain(const QString& moduleDir = GetModuleDirectory());
    ~CGUIGDIPlusMfcFrameMain() override;

    // Runs the frame modally; its initialisation runs once, before the window shows.
    int exec() override;

    // Ends the window: the shutdown clean-up, once. The application calls it when the
    // modal run returns, whatever ended it; the destructor calls it if nobody did.
    void DestroyWindow();

    // The quit message: queued, it ends the modal run (and any loop nested in it) once
    // the current handler has returned; the application then shuts down. Used by the
    // Exit button and by a failed start-up.
    void PostQuitMessage();

    SettingDurationInfo m_hSetting;
    QString m_strSettingFile; // <module dir>/KZTRSettingFile.kzt
    QString m_strLogDir;      // <module dir>/LogoFiles/

public slots:
    void accept() override; // IDOK: does nothing
    void reject() override; // IDCANCEL, Escape, window close: ends the modal run

protected:
    // The window exists but is not shown yet. Returns true in every case; a failed
    // start-up shows its error box and posts the quit itself.
    bool OnInitDialog();
    // The clean-up of window destruction, in shutdown order.
    void OnDestroy();

private:
    bool m_bInitDone = false;
    bool m_bDestroyed = false;
};
