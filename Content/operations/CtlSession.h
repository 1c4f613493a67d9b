#pragma once
// One controller's port and exchange, with the records a command works on: the same
// exchange the panel uses, so frames, waits and daily log lines are the panel's. Work on
// several controllers at once takes one session per controller (see WallRun).
#include "CtlRecords.h"
#include "RZ8Exchange.h"
#include "RZ8Records.h"
#include "ResolutionCatalogue.h"

#include <QString>
#include <QStringList>
#include <vector>

// The records (CRZ8Records) are the connected controller's: m_hTmpRZ8Full as read, also
// before the command in m_hOldRZ8Full, m_hCurRZ8Full as it is to be written.
class CtlSession : public CResolutionCatalogue, public CRZ8FrameWide, public CRZ8Records {
public:
    explicit CtlSession(const QString& logDir, kztr::Clock& clock = kztr::systemClock());
    static constexpr int kCommandPauseMs = CRZ8Exchange::kCommandPauseMs;
    CtlSession(const CtlSession&) = delete;
    CtlSession& operator=(const CtlSession&) = delete;

    kztr::Clock& GetClock() const { return m_clock; }
    // The one port and its exchange.
    CRZ8Exchange& Exchange() { return m_exchange; }
    const CRZ8Ctrl& Port() const { return m_port; }

    // Probes COM first..last all at once and returns the controllers that answered, by box ID.
    // notes gets one line per port that exists but could not be opened or stayed silent
    // (ports that do not exist are the normal case and get none).
    std::vector<FoundController> Scan(int first, int last, QStringList* notes = nullptr);

    // Opens COM com and reads the configuration into m_hTmpRZ8Full,
    // m_hOldRZ8Full and m_hCurRZ8Full. false with a message in error. The port of an
    // earlier Connect is closed first, so one session can visit several controllers.
    bool Connect(int com, QString& error);
    // Connect, then the pixel counts when the slider is on the user-defined position, as
    // show needs them.
    bool ReadSnapshot(int com, ControllerSnapshot& out, QString& error);

    // Reads the user-defined width and height (only needed for slider position 9).
    bool ReadPixelCounts(QString& error);

    // The configuration just read, for show and after set.
    QStringList Describe();

    // set: applies the changed m_hCurRZ8Full and reads it back.
    bool ApplyCurrent(QString& error);
    // What set and load send after changing m_hCurRZ8Full: the pixel counts first when it
    // is on the user-defined position, then ApplyCurrent.
    bool WriteCurrent(QString& error);
    bool Pattern(const QString& mode, QString& error);
    bool SetBoxId(uint8_t newId, QString& error);
    bool Reset(QString& error);
    // Reads the EDID into readout; false when it was not answered or
    // incomplete (readout then holds what arrived).
    bool ReadEdid(EdidReadout& readout, QString& error);
    // The same as the report of edid: dump, checksums, polarity and what the EDID says.
    bool ReadEdid(QStringList& report, QString& error);

    // The configuration just read, as show gives it but without the pixel counts.
    ControllerSnapshot LastRead() const;

    // Header line: "COM5  box ID 1  model D  ZEPH - T4/T5  firmware 19".
    static QString ControllerLine(const FoundController& c);
    // Head of a controller's report line in load and --all: "box ID 1 (COM5, model D)".
    static QString BoxLabel(const FoundController& c);
    // What pattern on, rgbw or off did: "test pattern on".
    static QString PatternDone(const QString& mode);
    // The model letter when printable, else '?'; the model's label without polarity.
    static QChar ModelLetter(char model);
    static QString ModelName(char model);
    // "no controller found on COM1 (/dev/ttyUSB0) to COM15 (/dev/ttyUSB14)".
    static QString NothingFound(int first, int last);
    // "COM4: cannot open the port" with the device path and the reason when known.
    static QString OpenFailure(int com, int err);

private:
    bool Command(RZ8Full& record, uint8_t code, uint8_t boxId, int pauseMs, QString& error);
    FoundController Current() const;
    kztr::Clock& m_clock;
    CRZ8Ctrl m_port;
    CRZ8Exchange m_exchange;
    int m_nCom = 0;
};
