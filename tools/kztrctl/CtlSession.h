#pragma once
// One kztrctl run against one controller (or a scan of all ports), on the same device
// link the panel uses, so frames, waits and daily log lines are the panel's.
#include "RZ8DeviceLink.h"

#include <QString>
#include <QStringList>
#include <vector>

struct FoundController {
    int com;
    uint8_t boxId;
    char model;
    uint8_t fwVer;
};

class CtlSession : public CRZ8DeviceLink {
public:
    explicit CtlSession(const QString& logDir, kztr::Clock& clock = kztr::systemClock());

    // Probes COM first..last and returns the controllers that answered, by box ID.
    // notes gets one line per port that exists but could not be opened or stayed silent
    // (ports that do not exist are the normal case and get none).
    std::vector<FoundController> Scan(int first, int last, QStringList* notes = nullptr);

    // Opens COM com on device link 0 and reads the configuration into m_hTmpRZ8Full,
    // m_hOldRZ8Full and m_hCurRZ8Full. false with a message in error.
    bool Connect(int com, QString& error);

    // Reads the user-defined width and height (only needed for slider position 9).
    bool ReadPixelCounts(QString& error);

    // The configuration just read, for show and after set.
    QStringList Describe();

    // set: applies the changed m_hCurRZ8Full and reads it back.
    bool ApplyCurrent(QString& error);
    bool Pattern(const QString& mode, QString& error);
    bool SetBoxId(uint8_t newId, QString& error);
    bool Reset(QString& error);
    // Reads the EDID into m_byEDID; the report lists dump, checksums and polarity.
    bool ReadEdid(QStringList& report, QString& error);

    // Header line: "COM5  box ID 1  model D  ZEPH - T4/T5  firmware 19".
    static QString ControllerLine(const FoundController& c);
    // "COM4: cannot open the port" with the device path and the reason when known.
    static QString OpenFailure(int com, int err);

private:
    bool Command(RZ8Full& record, uint8_t code, uint8_t boxId, int pauseMs, QString& error);
    FoundController Current() const;
    int m_nCom = 0;
};
