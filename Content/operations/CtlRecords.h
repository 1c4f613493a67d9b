#pragma once
// What kztrctl reads from a controller: who it is, its configuration, its EDID. Plain
// data for the text and JSON printers and the wall file.
#include "RZ8Frames.h"
#include "RZ8Full.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// The box IDs a controller can be given; 255 means "no ID".
constexpr int kCtlMinBoxId = 1;
constexpr int kCtlMaxBoxId = 254;

struct FoundController {
    int com;
    uint8_t boxId;
    char model;
    uint8_t fwVer;
};

struct ControllerSnapshot {
    FoundController controller{};
    RZ8Full config{};
    QString resolution;              // text of the slider position; empty when unknown
    std::optional<QSize> userPixels; // the user-defined width and height, read for mode 9
};

// An EDID read from a controller or, with no controller, from a file.
struct EdidReadout {
    std::optional<FoundController> controller;
    QByteArray bytes; // as many as arrived; from a file, 128 bytes or more
    // The checks below are made only on a whole block.
    bool headerOk = false;
    BlockChecksumResult sums{};
    // checksum1 (and checksumdid) apply: false only for a file of the base block alone.
    bool hasExtension = true;
    uint8_t syncFlags = 0;
    bool whole() const { return controller ? bytes.size() == RZ8_BLOCK_LEN : bytes.size() >= 128; }
};

// What one controller of a wall-wide set, pattern or reset came to.
struct ControllerOutcome {
    FoundController controller{}; // as the scan found it
    bool ok = false;
    QString error;  // when not ok
    QString result; // when ok: what was done, in the words of the report line
    std::optional<ControllerSnapshot> readBack; // set: the configuration read back
};
