#include "ConfigFields.h"

#include "TimingLimits.h"

#include <functional>
#include <optional>
#include <vector>

namespace {

struct Choice {
    QStringList texts; // accepted spellings, first one is shown
    unsigned value;
};

struct Field {
    const char* name;
    const char* help;
    int min, max;                // numeric fields; choices ignore them
    std::vector<Choice> choices; // empty: a number
    std::function<unsigned(const RZ8Full&)> get;
    std::function<void(RZ8Full&, unsigned)> set;
    const char* unit;
    const char* note; // after the values in --help, or empty
};

// A field that is one byte of the configuration, as a number.
Field byteField(const char* name, const char* help, TimingLimit limit, uint8_t RZ8Data::*member,
                const char* unit = "") {
    return {name,
            help,
            limit.min,
            limit.max,
            {},
            [member](const RZ8Full& r) { return unsigned(r.hRZ8Data.*member); },
            [member](RZ8Full& r, unsigned v) { r.hRZ8Data.*member = uint8_t(v); },
            unit,
            ""};
}

const std::vector<Field>& fields() {
    using namespace TimingLimits;
    static const std::vector<Field> table = {
        {"mode",
         "resolution slider position; 9 = user-defined",
         0,
         9,
         {},
         [](const RZ8Full& r) { return unsigned(uint8_t(r.hRZ8Data.I_output_mode)); },
         [](RZ8Full& r, unsigned v) { r.hRZ8Data.I_output_mode = int8_t(v); },
         "",
         ""},
        // 20 Hz is stored as 0, which every send turns into 60 Hz ("not set"): refuse it
        // rather than apply a rate nobody asked for.
        {"vr",
         "vertical rate",
         kVerticalRate.min + 1,
         kVerticalRate.max,
         {},
         [](const RZ8Full& r) { return unsigned(r.VRHz()); },
         [](RZ8Full& r, unsigned v) { r.setVRHz(int(v)); },
         " Hz",
         "(20 Hz means \"not set\" and would go out as 60 Hz)"},
        {"hblank",
         "horizontal blank",
         kHorzBlank.min,
         kHorzBlank.max,
         {},
         [](const RZ8Full& r) { return unsigned(r.iHLimit()); },
         [](RZ8Full& r, unsigned v) { r.setIHLimit(uint16_t(v)); },
         " pixels",
         ""},
        byteField("ho", "horizontal offset", kHorzOffset, &RZ8Data::HO),
        byteField("hsw", "horizontal sync width", kHorzSyncWidth, &RZ8Data::HSW),
        byteField("vblank", "vertical blank", kVertBlank, &RZ8Data::iVLimit, " lines"),
        byteField("vo", "vertical offset", kVertOffset, &RZ8Data::VO),
        byteField("vsw", "vertical sync width", kVertSyncWidth, &RZ8Data::VSW),
        {"hpol",
         "horizontal sync polarity",
         0,
         0,
         {{{"+", "positive", "pos"}, 1}, {{"-", "negative", "neg"}, 0}},
         [](const RZ8Full& r) { return r.hp(); },
         [](RZ8Full& r, unsigned v) { r.setHp(v); },
         "",
         ""},
        {"vpol",
         "vertical sync polarity",
         0,
         0,
         {{{"+", "positive", "pos"}, 1}, {{"-", "negative", "neg"}, 0}},
         [](const RZ8Full& r) { return r.vp(); },
         [](RZ8Full& r, unsigned v) { r.setVp(v); },
         "",
         ""},
        {"depth",
         "colour depth in bits",
         0,
         0,
         {{{"8"}, 0}, {{"10"}, 1}},
         [](const RZ8Full& r) { return r.color_10bit(); },
         [](RZ8Full& r, unsigned v) { r.setColor_10bit(v); },
         "",
         ""},
        {"audio",
         "audio support",
         0,
         0,
         {{{"on"}, 1}, {{"off"}, 0}},
         [](const RZ8Full& r) { return r.audiobit(); },
         [](RZ8Full& r, unsigned v) { r.setAudiobit(v); },
         "",
         ""},
        {"edid",
         "EDID version",
         0,
         0,
         {{{"v1.1", "1.1"}, 0}, {{"v1.2", "1.2"}, 1}, {{"v1.3", "1.3"}, 2}, {{"v2.0", "2.0"}, 3}},
         [](const RZ8Full& r) { return r.DID_Ver(); },
         [](RZ8Full& r, unsigned v) { r.setDID_Ver(v); },
         "",
         ""},
    };
    return table;
}

const Field* fieldNamed(const QString& name) {
    for (const Field& f : fields())
        if (name == QLatin1String(f.name)) return &f;
    return nullptr;
}

// "8, 10"; other accepted spellings in brackets: "+ (or positive, pos), - (or ...)".
QString choiceList(const Field& f) {
    QStringList shown;
    for (const Choice& c : f.choices) {
        QString text = c.texts.first();
        if (c.texts.size() > 1)
            text += QStringLiteral(" (or %1)").arg(c.texts.mid(1).join(QStringLiteral(", ")));
        shown << text;
    }
    return shown.join(QStringLiteral(", "));
}

QString valueText(const Field& f, const RZ8Full& r) {
    const unsigned v = f.get(r);
    if (f.choices.empty()) return QString::number(v) + QLatin1String(f.unit);
    for (const Choice& c : f.choices)
        if (c.value == v) return c.texts.first();
    return QString::number(v);
}

} // namespace

bool ApplyConfigAssignment(RZ8Full& record, const QString& field, const QString& value,
                           QString& error) {
    const Field* f = fieldNamed(field.toLower());
    if (!f) {
        QStringList names;
        for (const Field& each : fields())
            names << QLatin1String(each.name);
        error = QStringLiteral("unknown field \"%1\"; known fields: %2")
                    .arg(field, names.join(QStringLiteral(", ")));
        return false;
    }
    if (f->choices.empty()) {
        bool ok = false;
        const int v = value.toInt(&ok, 10);
        if (!ok || v < f->min || v > f->max) {
            error = QStringLiteral("%1 must be a whole number from %2 to %3, not \"%4\"")
                        .arg(QLatin1String(f->name))
                        .arg(f->min)
                        .arg(f->max)
                        .arg(value);
            return false;
        }
        f->set(record, unsigned(v));
        return true;
    }
    for (const Choice& c : f->choices) {
        if (c.texts.contains(value.toLower())) {
            f->set(record, c.value);
            return true;
        }
    }
    error = QStringLiteral("%1 must be one of %2; not \"%3\"")
                .arg(QLatin1String(f->name), choiceList(*f), value);
    return false;
}

QStringList DescribeConfig(const RZ8Full& record, const QString& resolutionText) {
    QStringList lines;
    lines << QStringLiteral("%1  %2 (mode %3)")
                 .arg(QStringLiteral("resolution"), -10)
                 .arg(resolutionText.isEmpty() ? QStringLiteral("?") : resolutionText)
                 .arg(int(record.hRZ8Data.I_output_mode));
    for (const Field& f : fields()) {
        if (QLatin1String(f.name) == QLatin1String("mode")) continue;
        lines << QStringLiteral("%1  %2").arg(QLatin1String(f.name), -10).arg(valueText(f, record));
    }
    return lines;
}

QString ConfigFieldHelp() {
    QString text;
    for (const Field& f : fields()) {
        const QString values =
            f.choices.empty()
                ? QStringLiteral("%1 to %2%3").arg(f.min).arg(f.max).arg(QLatin1String(f.unit))
                : choiceList(f);
        QString line = QStringLiteral("  %1  %2: %3")
                           .arg(QLatin1String(f.name), -8)
                           .arg(QLatin1String(f.help), values);
        if (*f.note) line += QLatin1Char(' ') + QLatin1String(f.note);
        text += line + QLatin1Char('\n');
    }
    return text;
}
