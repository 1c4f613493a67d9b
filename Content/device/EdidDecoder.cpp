#include "EdidDecoder.h"

#include <QJsonArray>
#include <QJsonValue>

namespace {

constexpr size_t kBlock = 128;
constexpr uint8_t kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr size_t kDescriptors[4] = {54, 72, 90, 108};
constexpr size_t kDescriptorLen = 18;
constexpr uint8_t kTagCta = 0x02;
constexpr uint8_t kTagDisplayId = 0x70;
constexpr uint8_t kTagMonitorName = 0xFC;

// Every read goes through here so nothing past the bytes given is touched.
class Bytes {
public:
    Bytes(const uint8_t* data, size_t length) : m_data(data), m_length(data ? length : 0) {}
    size_t length() const { return m_length; }
    bool has(size_t first, size_t count) const {
        return first <= m_length && count <= m_length - first;
    }
    uint8_t at(size_t i) const { return m_data[i]; }
    unsigned sum(size_t first, size_t count) const {
        unsigned s = 0;
        for (size_t i = first; i < first + count; ++i)
            s += m_data[i];
        return s % 256;
    }

private:
    const uint8_t* m_data;
    size_t m_length;
};

QString Hex4(uint16_t value) {
    return QString::number(value, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QString KindOf(uint8_t tag) {
    switch (tag) {
    case kTagCta:
        return QStringLiteral("CTA-861");
    case kTagDisplayId:
        return QStringLiteral("DisplayID");
    default:
        return QStringLiteral("other");
    }
}

QString Manufacturer(uint16_t id) {
    QString text;
    for (int shift : {10, 5, 0}) {
        const int letter = (id >> shift) & 0x1F;
        if (letter < 1 || letter > 26) return {};
        text += QChar('A' + letter - 1);
    }
    return text;
}

bool IsDisplayDescriptor(const Bytes& b, size_t at) {
    return b.at(at) == 0 && b.at(at + 1) == 0;
}

// Text of a display descriptor: ends at the line feed, padding trimmed; anything the
// panel could not show is replaced so it cannot garble the line it lands in.
QString DescriptorText(const Bytes& b, size_t at, bool& unprintable) {
    QByteArray raw;
    for (size_t i = at + 5; i < at + kDescriptorLen && b.at(i) != 0x0A; ++i)
        raw += char(b.at(i));
    while (!raw.isEmpty() && (raw.back() == ' ' || raw.back() == '\0'))
        raw.chop(1);
    QString text;
    for (char c : raw) {
        const auto u = uint8_t(c);
        const bool printable = u >= 0x20 && u <= 0x7E;
        unprintable = unprintable || !printable;
        text += printable ? QChar(u) : QChar('?');
    }
    return text;
}

// The first detailed timing; problems says why there is none.
std::optional<EdidTiming> DetailedTiming(const Bytes& b, size_t at, QStringList& problems) {
    const int clock10kHz = b.at(at) | b.at(at + 1) << 8;
    if (clock10kHz == 0) {
        problems << QStringLiteral("no preferred timing: the first descriptor holds no timing");
        return std::nullopt;
    }
    const int hActive = b.at(at + 2) | (b.at(at + 4) & 0xF0) << 4;
    const int hBlank = b.at(at + 3) | (b.at(at + 4) & 0x0F) << 8;
    const int vActive = b.at(at + 5) | (b.at(at + 7) & 0xF0) << 4;
    const int vBlank = b.at(at + 6) | (b.at(at + 7) & 0x0F) << 8;
    const uint8_t flags = b.at(at + 17);
    const int hTotal = hActive + hBlank;
    const int vTotal = vActive + vBlank;
    if (hTotal == 0 || vTotal == 0) {
        problems << QStringLiteral("no preferred timing: the first timing has no lines or pixels");
        return std::nullopt;
    }
    EdidTiming t;
    t.interlaced = flags & 0x80;
    t.width = hActive;
    // The descriptor counts the lines of one field.
    t.height = t.interlaced ? vActive * 2 : vActive;
    t.pixelClockKHz = clock10kHz * 10;
    // A frame of two fields has an odd number of lines: each field holds half a line more
    // than its active and blank lines, and the rate of an interlaced mode is its field rate.
    const double fieldLines = t.interlaced ? vTotal + 0.5 : vTotal;
    t.refreshHz = clock10kHz * 10000.0 / (double(hTotal) * fieldLines);
    if ((flags & 0x18) == 0x18) {
        t.vsync = (flags & 0x04) ? '+' : '-';
        t.hsync = (flags & 0x02) ? '+' : '-';
    }
    return t;
}

void DecodeBase(const Bytes& b, EdidInfo& info) {
    if (b.has(0, 8)) {
        info.headerOk = true;
        for (size_t i = 0; i < 8; ++i)
            info.headerOk = info.headerOk && b.at(i) == kHeader[i];
        if (!info.headerOk) info.problems << QStringLiteral("header broken");
    }
    if (b.has(8, 2)) {
        const auto id = uint16_t(b.at(8) << 8 | b.at(9));
        info.manufacturer = Manufacturer(id);
        if (info.manufacturer.isEmpty())
            info.problems
                << QStringLiteral("manufacturer ID 0x%1 is not three letters").arg(Hex4(id));
    }
    if (b.has(10, 2)) info.productCode = uint16_t(b.at(10) | b.at(11) << 8);
    if (b.has(12, 4))
        info.serialNumber = uint32_t(b.at(12)) | uint32_t(b.at(13)) << 8 |
                            uint32_t(b.at(14)) << 16 | uint32_t(b.at(15)) << 24;
    if (b.has(16, 2)) {
        info.week = b.at(16);
        info.year = 1990 + b.at(17);
    }
    if (b.has(18, 2)) {
        info.versionMajor = b.at(18);
        info.versionMinor = b.at(19);
    }
    if (b.has(kDescriptors[0], kDescriptorLen))
        info.preferred = DetailedTiming(b, kDescriptors[0], info.problems);
    // Some monitors carry an empty name descriptor before the one that names them.
    bool unprintable = false;
    for (size_t at : kDescriptors) {
        if (!b.has(at, kDescriptorLen)) break;
        if (IsDisplayDescriptor(b, at) && b.at(at + 3) == kTagMonitorName) {
            info.monitorName = DescriptorText(b, at, unprintable);
            if (!info.monitorName.isEmpty()) break;
        }
    }
    if (unprintable) info.problems << QStringLiteral("monitor name has unprintable characters");
    if (b.has(126, 1)) info.extensionsDeclared = b.at(126);
    if (info.complete) {
        info.checksumOk = b.sum(0, kBlock) == 0;
        if (!info.checksumOk) info.problems << QStringLiteral("base block checksum mismatch");
    }
}

// The DisplayID section: version, payload length N, product type, extension count, N
// payload bytes, then its checksum; bytes 1 to 5+N sum to 0. Unknown when the section
// runs into the block checksum or past the bytes given.
void CheckDisplayIdSection(const Bytes& b, size_t start, EdidExtension& ext, QStringList& problems,
                           const QString& name) {
    if (!b.has(start + 2, 1)) return;
    const size_t payload = b.at(start + 2);
    const size_t checksumAt = 5 + payload;
    if (checksumAt > kBlock - 2) {
        problems << QStringLiteral("%1 section of %2 bytes does not fit the block")
                        .arg(name)
                        .arg(payload);
        return;
    }
    if (!b.has(start + 1, checksumAt)) return;
    ext.sectionChecksumOk = b.sum(start + 1, checksumAt) == 0;
    if (!*ext.sectionChecksumOk) problems << name + QStringLiteral(" section checksum mismatch");
}

void DecodeExtensions(const Bytes& b, EdidInfo& info) {
    int index = 1;
    for (size_t start = kBlock; start < b.length(); start += kBlock, ++index) {
        EdidExtension ext;
        ext.index = index;
        ext.tag = b.at(start);
        ext.kind = KindOf(ext.tag);
        ext.complete = b.has(start, kBlock);
        const QString name = QStringLiteral("extension %1 (%2)").arg(index).arg(ext.kind);
        if (ext.complete) {
            ext.checksumOk = b.sum(start, kBlock) == 0;
            if (!ext.checksumOk) info.problems << name + QStringLiteral(" checksum mismatch");
        } else {
            info.problems << QStringLiteral("%1 partial: %2 of %3 bytes")
                                 .arg(name)
                                 .arg(b.length() - start)
                                 .arg(kBlock);
        }
        if (ext.tag == kTagDisplayId) CheckDisplayIdSection(b, start, ext, info.problems, name);
        info.extensions.push_back(ext);
    }
    const auto present = int(info.extensions.size());
    if (info.complete && info.extensionsDeclared > present)
        info.problems << QStringLiteral("%1 %2 declared, %3 present")
                             .arg(info.extensionsDeclared)
                             .arg(info.extensionsDeclared == 1 ? "extension" : "extensions")
                             .arg(present);
}

QString Line(const QString& label, const QString& value) {
    return QStringLiteral("%1 %2").arg(label, -14).arg(value);
}

QString ClockText(int kHz) {
    return QStringLiteral("%1 MHz").arg(kHz / 1000.0, 0, 'f', 2);
}

QString TimingDetails(const EdidTiming& t) {
    QString text = TimingText(t) + QStringLiteral(", ") + ClockText(t.pixelClockKHz);
    if (t.hsync && t.vsync)
        text += QStringLiteral(", H%1 V%2").arg(QChar(t.hsync)).arg(QChar(t.vsync));
    return text;
}

QJsonValue SyncJson(char sync) {
    return sync ? QJsonValue(QString(QChar(sync))) : QJsonValue(QJsonValue::Null);
}

} // namespace

EdidInfo DecodeEdid(const uint8_t* data, size_t length) {
    const Bytes b(data, length);
    EdidInfo info;
    info.length = b.length();
    info.complete = b.has(0, kBlock);
    if (!info.complete)
        info.problems << QStringLiteral("short block: %1 of %2 bytes").arg(b.length()).arg(kBlock);
    DecodeBase(b, info);
    DecodeExtensions(b, info);
    return info;
}

QString TimingText(const EdidTiming& t) {
    QString text =
        QStringLiteral("%1 x %2 at %3 Hz").arg(t.width).arg(t.height).arg(t.refreshHz, 0, 'f', 2);
    if (t.interlaced) text += QStringLiteral(", interlaced");
    return text;
}

QStringList DescribeEdid(const EdidInfo& info) {
    QStringList lines;
    const size_t n = info.length;
    if (n >= 10)
        lines << Line(QStringLiteral("maker"), info.manufacturer.isEmpty()
                                                   ? QStringLiteral("(unknown)")
                                                   : info.manufacturer);
    if (n >= 12)
        lines << Line(QStringLiteral("product"),
                      QStringLiteral("0x%1").arg(Hex4(info.productCode)));
    if (n >= 16) lines << Line(QStringLiteral("serial"), QString::number(info.serialNumber));
    if (n >= 18) {
        QString made = QString::number(info.year);
        if (info.week == 255)
            made = QStringLiteral("model year ") + made;
        else if (info.week != 0)
            made = QStringLiteral("week %1 of %2").arg(info.week).arg(made);
        lines << Line(QStringLiteral("made"), made);
    }
    if (n >= 20)
        lines << Line(QStringLiteral("version"),
                      QStringLiteral("%1.%2").arg(info.versionMajor).arg(info.versionMinor));
    if (!info.monitorName.isEmpty() || n >= 126)
        lines << Line(QStringLiteral("monitor name"),
                      info.monitorName.isEmpty() ? QStringLiteral("(none)") : info.monitorName);
    if (info.preferred || n >= 72)
        lines << Line(QStringLiteral("preferred"),
                      info.preferred ? TimingDetails(*info.preferred) : QStringLiteral("(none)"));
    for (const EdidExtension& ext : info.extensions) {
        QString text = ext.kind;
        if (ext.kind == QLatin1String("other"))
            text = QStringLiteral("other (tag 0x%1)").arg(ext.tag, 2, 16, QLatin1Char('0'));
        if (!ext.complete)
            text += QStringLiteral(", partial");
        else
            text += ext.checksumOk ? QStringLiteral(", checksum ok")
                                   : QStringLiteral(", checksum MISMATCH");
        if (ext.sectionChecksumOk)
            text += *ext.sectionChecksumOk ? QStringLiteral(", section checksum ok")
                                           : QStringLiteral(", section checksum MISMATCH");
        // A reader that always fetches a fixed number of bytes brings along blocks
        // the EDID never claimed.
        if (ext.index > info.extensionsDeclared) text += QStringLiteral(", not declared");
        lines << Line(QStringLiteral("extension %1").arg(ext.index), text);
    }
    for (const QString& problem : info.problems)
        lines << Line(QStringLiteral("problem"), problem);
    return lines;
}

QJsonObject EdidToJson(const EdidInfo& info) {
    QJsonObject o;
    o.insert(QStringLiteral("length"), qint64(info.length));
    o.insert(QStringLiteral("complete"), info.complete);
    o.insert(QStringLiteral("headerOk"), info.headerOk);
    o.insert(QStringLiteral("checksumOk"), info.checksumOk);
    o.insert(QStringLiteral("manufacturer"), info.manufacturer);
    o.insert(QStringLiteral("productCode"), int(info.productCode));
    o.insert(QStringLiteral("serialNumber"), qint64(info.serialNumber));
    o.insert(QStringLiteral("week"), info.week);
    o.insert(QStringLiteral("year"), info.year);
    o.insert(QStringLiteral("version"),
             QStringLiteral("%1.%2").arg(info.versionMajor).arg(info.versionMinor));
    o.insert(QStringLiteral("monitorName"), info.monitorName.isEmpty()
                                                ? QJsonValue(QJsonValue::Null)
                                                : QJsonValue(info.monitorName));
    if (info.preferred) {
        const EdidTiming& t = *info.preferred;
        QJsonObject timing;
        timing.insert(QStringLiteral("width"), t.width);
        timing.insert(QStringLiteral("height"), t.height);
        timing.insert(QStringLiteral("refreshHz"), t.refreshHz);
        timing.insert(QStringLiteral("pixelClockKHz"), t.pixelClockKHz);
        timing.insert(QStringLiteral("interlaced"), t.interlaced);
        timing.insert(QStringLiteral("hsync"), SyncJson(t.hsync));
        timing.insert(QStringLiteral("vsync"), SyncJson(t.vsync));
        o.insert(QStringLiteral("preferredTiming"), timing);
    } else {
        o.insert(QStringLiteral("preferredTiming"), QJsonValue(QJsonValue::Null));
    }
    o.insert(QStringLiteral("extensionsDeclared"), info.extensionsDeclared);
    QJsonArray extensions;
    for (const EdidExtension& ext : info.extensions) {
        QJsonObject e;
        e.insert(QStringLiteral("index"), ext.index);
        e.insert(QStringLiteral("tag"), int(ext.tag));
        e.insert(QStringLiteral("kind"), ext.kind);
        e.insert(QStringLiteral("complete"), ext.complete);
        e.insert(QStringLiteral("checksumOk"), ext.checksumOk);
        if (ext.sectionChecksumOk)
            e.insert(QStringLiteral("sectionChecksumOk"), *ext.sectionChecksumOk);
        extensions.append(e);
    }
    o.insert(QStringLiteral("extensions"), extensions);
    o.insert(QStringLiteral("problems"), QJsonArray::fromStringList(info.problems));
    return o;
}

QString EdidToolTip(const EdidInfo& info) {
    QStringList lines;
    if (!info.complete)
        lines << QStringLiteral("EDID incomplete: %1 of %2 bytes").arg(info.length).arg(kBlock);
    if (info.length >= 8 && !info.headerOk) lines << QStringLiteral("EDID header broken");
    if (info.complete && !info.checksumOk) lines << QStringLiteral("EDID checksum mismatch");
    // In a short block a missing name or timing may just be missing bytes: only say
    // "none" when the descriptors were all there to look at.
    if (!info.monitorName.isEmpty())
        lines << info.monitorName;
    else if (info.length >= 126)
        lines << QStringLiteral("no monitor name in the EDID");
    if (info.preferred)
        lines << TimingDetails(*info.preferred);
    else if (info.length >= 72)
        lines << QStringLiteral("no preferred timing in the EDID");
    return lines.join(QLatin1Char('\n'));
}
