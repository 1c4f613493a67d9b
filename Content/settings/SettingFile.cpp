#include "SettingFile.h"

#include "DebugTrace.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <array>

namespace {

using Bytes = std::array<uchar, kSettingFileSize>;

Bytes encode(const SettingDurationInfo& record) {
    Bytes bytes{};
    qToLittleEndian<qint32>(record.iPatternSec, bytes.data());
    qToLittleEndian<qint32>(record.iIdentifySec, bytes.data() + 4);
    qToLittleEndian<qint32>(record.iApplyConfirmSec, bytes.data() + 8);
    return bytes;
}

SettingDurationInfo decode(const Bytes& bytes) {
    SettingDurationInfo record;
    record.iPatternSec = qFromLittleEndian<qint32>(bytes.data());
    record.iIdentifySec = qFromLittleEndian<qint32>(bytes.data() + 4);
    record.iApplyConfirmSec = qFromLittleEndian<qint32>(bytes.data() + 8);
    return record;
}

} // namespace

int ReadSettingFile(const QString& path, SettingDurationInfo& record) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    return ReadSettingDevice(file, path, record);
}

int ReadSettingDevice(QIODevice& device, const QString& name, SettingDurationInfo& record) {
    // Start from the record as it is, so a short file overwrites only what it holds.
    Bytes bytes = encode(record);
    const qint64 got = device.read(reinterpret_cast<char*>(bytes.data()), kSettingFileSize);
    if (got < kSettingFileSize) {
        RZ8_TRACE("[D]ReadSettingFile %s holds %lld of %d bytes\n", qUtf8Printable(name),
                  static_cast<long long>(got < 0 ? 0 : got), kSettingFileSize);
        if (got <= 0) return 1;
    }
    record = decode(bytes);
    return 1;
}

int WriteSettingFile(const QString& path, const SettingDurationInfo& record) {
    // Written aside and renamed into place: a failed write never leaves a cut file.
    // Where the directory forbids the temporary file, the file is written in place.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        RZ8_TRACE("[D]WriteSettingFile cannot open %s: %s\n", qUtf8Printable(path),
                  qUtf8Printable(file.errorString()));
        return 0;
    }
    const Bytes bytes = encode(record);
    file.write(reinterpret_cast<const char*>(bytes.data()), kSettingFileSize);
    if (!file.commit()) {
        RZ8_TRACE("[D]WriteSettingFile cannot write %s: %s\n", qUtf8Printable(path),
                  qUtf8Printable(file.errorString()));
        return 0;
    }
    return 1;
}
