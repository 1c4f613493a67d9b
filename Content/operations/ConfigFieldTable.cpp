#include "ConfigFieldTable.h"

#include "TimingLimits.h"

namespace {

// A field that is one byte of the configuration, as a number.
ConfigField byteField(const char* name, const char* help, TimingLimit limit,
                      uint8_t RZ8Data::*member, const char* unit = "") {
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

} // namespace

const std::vector<ConfigField>& ConfigFieldTable() {
    using namespace TimingLimits;
    static const std::vector<ConfigField> table = {
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

const ConfigField* FindConfigField(const QString& name) {
    for (const ConfigField& f : ConfigFieldTable())
        if (name == QLatin1String(f.name)) return &f;
    return nullptr;
}

QString UnknownConfigField(const QString& name) {
    QStringList names;
    for (const ConfigField& f : ConfigFieldTable())
        names << QLatin1String(f.name);
    return QStringLiteral("unknown field \"%1\"; known fields: %2")
        .arg(name, names.join(QStringLiteral(", ")));
}

QString ConfigField::choiceText(unsigned value) const {
    for (const ConfigChoice& c : choices)
        if (c.value == value) return c.texts.first();
    return QString::number(value);
}

QString ConfigField::choiceList() const {
    QStringList shownChoices;
    for (const ConfigChoice& c : choices) {
        QString text = c.texts.first();
        if (c.texts.size() > 1)
            text += QStringLiteral(" (or %1)").arg(c.texts.mid(1).join(QStringLiteral(", ")));
        shownChoices << text;
    }
    return shownChoices.join(QStringLiteral(", "));
}

QString ConfigField::shown(const RZ8Full& record) const {
    const unsigned v = get(record);
    return isChoice() ? choiceText(v) : QString::number(v) + QLatin1String(unit);
}

bool ConfigField::assign(RZ8Full& record, const QString& text, QString& error) const {
    if (!isChoice()) {
        bool ok = false;
        const int v = text.toInt(&ok, 10);
        if (!ok || v < min || v > max) {
            error = QStringLiteral("%1 must be a whole number from %2 to %3, not \"%4\"")
                        .arg(QLatin1String(name))
                        .arg(min)
                        .arg(max)
                        .arg(text);
            return false;
        }
        set(record, unsigned(v));
        return true;
    }
    for (const ConfigChoice& c : choices) {
        if (c.texts.contains(text.toLower())) {
            set(record, c.value);
            return true;
        }
    }
    error = QStringLiteral("%1 must be one of %2; not \"%3\"")
                .arg(QLatin1String(name), choiceList(), text);
    return false;
}
