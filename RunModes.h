#pragma once
// The executable's own options, besides what Qt takes:
//   --simulate[=N]     serve N simulated controllers (default 3) in-process and point the
//                      port map at them
//   --screenshot FILE  after start-up write the panel as PNG to FILE and end with 0
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class CGUIGDIPlusMfcFrameMain;

struct RunOptions {
    int simulateCount = 0; // 0: no simulated controllers
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

// Makes the frame write its panel to file once started, then end the run with 0 (or 2
// when the file cannot be written).
void ArrangeScreenshot(CGUIGDIPlusMfcFrameMain& frame, const QString& file);
