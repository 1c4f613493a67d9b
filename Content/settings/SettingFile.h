#pragma once
// The three display durations that survive a restart, in a 12-byte file beside the
// executable: three signed 32-bit little-endian values, no header.
#include <QString>
#include <cstdint>

class QIODevice;

struct SettingDurationInfo {
    int32_t iPatternSec = 20;      // test pattern and RGBW pattern stay on this long
    int32_t iIdentifySec = 10;     // identify pattern stays on this long
    int32_t iApplyConfirmSec = 30; // keep-or-revert countdown after an apply
};

inline constexpr int kSettingFileSize = 12;

// 0 when the file cannot be opened (record untouched), otherwise 1. A file shorter than
// 12 bytes replaces only the leading bytes of the record it holds. Values are not checked.
int ReadSettingFile(const QString& path, SettingDurationInfo& record);
// The same from a device already open for reading (the file, or bytes in memory);
// name only goes into the trace. Always 1.
int ReadSettingDevice(QIODevice& device, const QString& name, SettingDurationInfo& record);

// 0 when the file cannot be written (the values then live only in memory), otherwise 1.
int WriteSettingFile(const QString& path, const SettingDurationInfo& record);
