// The wall-file reader of kztrctl load on arbitrary bytes. A file it accepts must hold
// controllers sorted by box ID within the limits, each with a model letter; written out
// again the way save writes it, it must read back to the same entries.
#include "CommandLine.h"
#include "ConfigFields.h"
#include "ConfigJson.h"
#include "FuzzSupport.h"
#include "JsonOutput.h"
#include "WallFile.h"

#include <QByteArray>
#include <QDateTime>
#include <cstdint>
#include <vector>

namespace {

bool SameEntries(const std::vector<WallEntry>& a, const std::vector<WallEntry>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].boxId != b[i].boxId || a[i].model != b[i].model) return false;
        // Only the fields of the table are meaningful in a wall entry.
        if (!DiffConfig(a[i].config, b[i].config).empty()) return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const WallRead read = ParseWall(text);
    if (!read.errors.isEmpty()) {
        FUZZ_CHECK(read.entries.empty());
        return 0;
    }
    FUZZ_CHECK(!read.entries.empty());
    int previous = 0;
    std::vector<ControllerSnapshot> snapshots;
    for (const WallEntry& e : read.entries) {
        FUZZ_CHECK(e.boxId > previous);
        FUZZ_CHECK(e.boxId >= kCtlMinBoxId && e.boxId <= kCtlMaxBoxId);
        FUZZ_CHECK(e.model > 0x20 && e.model < 0x7F);
        previous = e.boxId;
        ControllerSnapshot s;
        s.controller = FoundController{1, uint8_t(e.boxId), e.model, 0x13};
        s.config = e.config;
        snapshots.push_back(s);
    }

    const QDateTime savedAt(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC);
    const QByteArray written = JsonText(WallToJson(snapshots, savedAt));
    const WallRead again = ParseWall(written);
    FUZZ_CHECK(again.errors.isEmpty());
    FUZZ_CHECK(SameEntries(again.entries, read.entries));
    return 0;
}
