// The EDID decoder and its three printers on arbitrary bytes of any length, in a heap
// buffer of exactly that length so that any read past the end is caught. Whole blocks
// also go through the checksum examination of the device link.
#include "EdidDecoder.h"
#include "FuzzSupport.h"
#include "RZ8Frames.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

unsigned Sum(const uint8_t* bytes, size_t count) {
    unsigned s = 0;
    for (size_t i = 0; i < count; ++i)
        s += bytes[i];
    return s % 256;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kztr::fuzz::FormatAndDropTraces();
    const std::unique_ptr<uint8_t[]> exact(new uint8_t[size]);
    if (size) std::memcpy(exact.get(), data, size);
    const uint8_t* b = exact.get();

    const EdidInfo info = DecodeEdid(b, size);
    const QStringList lines = DescribeEdid(info);
    const QJsonObject json = EdidToJson(info);
    const QString tip = EdidToolTip(info);

    FUZZ_CHECK(info.length == size);
    FUZZ_CHECK(info.complete == (size >= 128));
    static const uint8_t header[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    FUZZ_CHECK(info.headerOk == (size >= 8 && std::memcmp(b, header, 8) == 0));
    FUZZ_CHECK(info.checksumOk == (size >= 128 && Sum(b, 128) == 0));
    FUZZ_CHECK(info.extensionsDeclared == (size >= 127 ? b[126] : 0));
    // One entry per started 128-byte block after the base block, numbered from 1.
    const size_t blocks = size > 128 ? (size - 128 + 127) / 128 : 0;
    FUZZ_CHECK(info.extensions.size() == blocks);
    for (size_t i = 0; i < info.extensions.size(); ++i) {
        const EdidExtension& ext = info.extensions[i];
        const size_t start = 128 * (i + 1);
        FUZZ_CHECK(ext.index == int(i + 1));
        FUZZ_CHECK(ext.tag == b[start]);
        FUZZ_CHECK(ext.complete == (size - start >= 128));
        FUZZ_CHECK(ext.checksumOk == (ext.complete && Sum(b + start, 128) == 0));
        if (ext.sectionChecksumOk) FUZZ_CHECK(ext.tag == 0x70);
    }
    if (info.preferred) {
        FUZZ_CHECK(info.preferred->width >= 0 && info.preferred->height >= 0);
        FUZZ_CHECK(info.preferred->refreshHz > 0);
        FUZZ_CHECK(!TimingText(*info.preferred).isEmpty());
    }
    for (const QChar c : info.monitorName)
        FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() <= 0x7E);
    FUZZ_CHECK(info.monitorName.size() <= 13);

    // Every problem is reported last, one line each, and in the JSON.
    FUZZ_CHECK(lines.size() >= info.problems.size());
    for (qsizetype i = 0; i < info.problems.size(); ++i)
        FUZZ_CHECK(lines[lines.size() - info.problems.size() + i].endsWith(info.problems[i]));
    FUZZ_CHECK(json.value(QStringLiteral("length")).toInteger() == qint64(size));
    FUZZ_CHECK(json.value(QStringLiteral("problems")).toArray().size() == info.problems.size());
    FUZZ_CHECK(json.value(QStringLiteral("extensions")).toArray().size() ==
               qsizetype(info.extensions.size()));
    // The tool tip always says something: what is known, or why it is not.
    FUZZ_CHECK(!tip.isEmpty());

    if (size >= size_t(RZ8_BLOCK_LEN)) {
        const BlockChecksumResult sums = ExamineBlockChecksums(b);
        FUZZ_CHECK(sums.ok0() == (Sum(b, 128) == 0));
        FUZZ_CHECK(sums.ok1() == (Sum(b + 128, 128) == 0));
        FUZZ_CHECK(sums.hasDid == (b[128] == 0x70));
        FUZZ_CHECK(HasEdidHeader(b) == info.headerOk);
    }
    return 0;
}
