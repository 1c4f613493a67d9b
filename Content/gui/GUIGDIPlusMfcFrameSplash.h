#pragma once
// The start-up picture: the splash background from the skin with the version and an
// ownership notice in its lower part. A press anywhere drags it; Enter and Escape do not
// close it. It centres itself on the fixed 1600 x 1050 area, like the main frame.
#include "AppVersion.h"
#include "FrameMessages.h"
#include "GUIGDIPlusMfcBaseDlg.h"

#include <QString>

class CGUIGDIPlusMfcFrameSplash : public CGUIGDIPlusMfcBaseDlg {
    Q_OBJECT
public:
    // Posted to itself by its initialisation: place the window, then repaint.
    static constexpr std::uint32_t kMsgPlace = FrameMsg::kWmUser + 10;

    static inline const QString& kVersionText = ::kVersionText;
    static const QString kOwnershipText;

    explicit CGUIGDIPlusMfcFrameSplash(QWidget* parent = nullptr);

    // moduleDir: where "GUISkin" lives.
    void SetModuleDir(const QString& moduleDir) { m_strModuleDir = moduleDir; }
    // Creates the window's content: skin root, background and first paint; posts the
    // placement. The owner then shows it.
    void Create(QWidget* parent);
    bool IsCreated() const { return m_bCreated; }

    void RepaintFrame() override;

public slots:
    void accept() override {} // Enter
    void reject() override {} // Escape, window close

protected:
    long OnFrameMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void OnPlaceWindow();

    QString m_strModuleDir;
    bool m_bCreated = false;
};
