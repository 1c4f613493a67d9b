#pragma once
// The executable's own options, besides what Qt takes:
//   --simulate[=N]     serve N simulated controllers (default 3) in-process and point the
//                      port map at them
//   --connect          after start-up switch the serial link on, as the operator would
//   --screenshot FILE  after start-up (and the connect) write the panel as PNG to FILE
//                      and end; error boxes then go to standard error
#include "ErrorBox.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class CGUIGDIPlusMfcFrameMain;

struct RunOptions {
    int simulateCount = 0; // 0: no simulated controllers
    bool connect = false;
    QString screenshotFile;
};

// nullopt with a message in error for options it does not understand.
std::optional<RunOptions> ParseRunOptions(const QStringList& args, QString& error);

// Simulated controllers for --simulate; stops serving when destroyed.
class SimulatedControllers {
public:
    // Starts count controllers with box IDs 1..count on COM1..COMcount, models taken
    // in turn from a mix, and sets RZ8_PORT_DIR. Null with a message in error on failure.
    static std::unique_ptr<SimulatedControllers> Start(int count, QString& error);
    virtual ~SimulatedControllers() = default;
    // One line per controller: COM number, box ID, model and the port's path.
    virtual QStringList Describe() const = 0;
};

// Error boxes where nobody can answer them: each is written to standard error and the
// run goes on.
class HeadlessErrorBoxes : public ErrorBoxSink {
public:
    void ShowErrorBox(const QString& caption, const QString& text) override;
    int Count() const { return m_nShown; }

private:
    int m_nShown = 0;
};

// Once the frame has started: switches the serial link on when connect is set; then,
// when file is not empty, writes the panel to it and ends the run with 0, with 1 when
// boxes (if given) showed an error meanwhile, or with 2 when the file cannot be written.
void ArrangeStartupActions(CGUIGDIPlusMfcFrameMain& frame, bool connect, const QString& file,
                           const HeadlessErrorBoxes* boxes = nullptr);

// The picture alone.
void ArrangeScreenshot(CGUIGDIPlusMfcFrameMain& frame, const QString& file);

// On the offscreen platform, drops Qt's notices that the platform cannot raise or size a
// window: true of every window there, and noise in front of what the operator reads.
// Every other message goes where it went before.
void QuietOffscreenPlatformNotices();
