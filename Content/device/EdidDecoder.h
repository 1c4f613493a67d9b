#pragma once
// What an EDID says about the monitor behind a controller: maker, product, serial,
// date, version, name, preferred timing, and the extension blocks by kind. Decoding
// never reads past the bytes it is given; whatever is missing or malformed is named in
// problems instead.
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

struct EdidTiming {
    int width = 0;        // active pixels
    int height = 0;       // active lines (of the whole frame when interlaced)
    double refreshHz = 0; // the field rate when interlaced
    int pixelClockKHz = 0;
    bool interlaced = false;
    // '+' or '-' for digital separate sync; 0 when the descriptor uses another sync kind.
    char hsync = 0;
    char vsync = 0;
};

struct EdidExtension {
    int index = 0;           // 1 for the first block after the base block
    uint8_t tag = 0;         // byte 0 of the block
    QString kind;            // "CTA-861", "DisplayID" or "other"
    bool complete = false;   // all 128 bytes present
    bool checksumOk = false; // the block's 128 bytes sum to 0 (only when complete)
    // DisplayID only: the section checksum inside the block, when the section fits.
    std::optional<bool> sectionChecksumOk;
};

struct EdidInfo {
    size_t length = 0;       // bytes given
    bool complete = false;   // at least the 128 bytes of the base block
    bool headerOk = false;   // 00 FF FF FF FF FF FF 00
    bool checksumOk = false; // base block sums to 0
    QString manufacturer;    // three letters, e.g. "ABC"; empty when not decodable
    uint16_t productCode = 0;
    uint32_t serialNumber = 0;
    int week = 0; // 0 when not given; 255 marks year as model year
    int year = 0; // 1990 + byte 17
    int versionMajor = 0;
    int versionMinor = 0;
    QString monitorName; // the first 0xFC descriptor holding text; empty when there is none
    std::optional<EdidTiming> preferred;   // first detailed timing descriptor
    int extensionsDeclared = 0;            // byte 126
    std::vector<EdidExtension> extensions; // those present in the bytes given
    QStringList problems;                  // short block, broken header, checksum mismatch, ...
};

EdidInfo DecodeEdid(const uint8_t* data, size_t length);

// Lines for a report, "maker          ABC" style, problems last.
QStringList DescribeEdid(const EdidInfo& info);
// The same as one JSON object (keys in lower camel case).
QJsonObject EdidToJson(const EdidInfo& info);
// Short text for the panel's tool tip: the monitor name and the preferred timing, or
// what kept them from being known.
QString EdidToolTip(const EdidInfo& info);
// "1920 x 1080 at 60.00 Hz" style.
QString TimingText(const EdidTiming& t);
