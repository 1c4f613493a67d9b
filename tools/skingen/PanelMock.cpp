#include "PanelMock.h"

#include "SkinPlaces.h"
#include "SkinStyle.h"

#include <QDir>
#include <QImageReader>
#include <QPainter>

namespace skin {

namespace {

const QColor kLabelWhite(0xff, 0xff, 0xff, 220);
const QColor kLabelAmber(255, 220, 45, 220);
const QColor kLabelGrey(0x96, 0x96, 0x96, 220);

class Composer {
public:
    Composer(const QString& root, QImage* target) : m_root(root), m_p(target) {
        m_p.setRenderHint(QPainter::TextAntialiasing);
    }

    bool ok() const { return m_ok; }

    void image(const QString& stem, int frames, int state, const QRect& where) {
        const QImage strip = readSkin(
            m_root.filePath(QStringLiteral("GUIFrameMain/") + stem + QStringLiteral(".tksx")));
        if (strip.isNull()) {
            m_ok = false;
            return;
        }
        const int step = strip.width() / frames;
        m_p.drawImage(QRectF(where), strip,
                      QRectF(step * state, 0, qreal(strip.width()) / frames, strip.height()));
    }

    // Labels: vertically centred in their rectangle, alpha 220, grey when disabled.
    void label(const QRect& r, const QString& text, int size, bool bold, bool italic,
               Qt::Alignment align, const QColor& colour, bool enabled = true) {
        m_p.setFont(arial(size, bold, italic));
        m_p.setPen(enabled ? colour : kLabelGrey);
        m_p.drawText(QRectF(r), align | Qt::AlignVCenter, text);
    }

    // Number box text: top-left at two pixels below the box's top.
    void boxText(const QRect& r, const QString& text, bool enabled) {
        m_p.setFont(arial(12));
        m_p.setPen(enabled ? QColor(0xff, 0xff, 0xff, 254) : QColor(0x96, 0x96, 0x96, 254));
        m_p.drawText(QRectF(r.left(), r.top() + 2, r.width(), r.height()),
                     Qt::AlignLeft | Qt::AlignTop, text);
    }

    QPainter& painter() { return m_p; }

private:
    QDir m_root;
    QPainter m_p;
    bool m_ok = true;
};

struct Texts {
    const char* model;
    const char* radios[5][4];
};

const Texts kTexts = {" - - - - - - ",
                      {{"Positive (+)", "Positive (-)"},
                       {"Positive (+)", "Positive (-)"},
                       {"8 Bit", "10 Bit"},
                       {"On", "Off"},
                       {"v1.1", "v1.2", "v1.3", "v2.0"}}};
const char* const kHeadings[5] = {"Horz Polarity", "Vert Polarity", "Color Depth", "Audio Support",
                                  "EDID Version"};
const char* const kParamLabels[7] = {
    "Vertical Rate :", "Horz Blank :",  "Horz Offset :",    "Horz Sync Width :",
    "Vert Blank :",    "Vert Offset :", "Vert Sync Width :"};
const char* const kResolutions[9] = {"1920 x 1080", "2560 x 1080", "3840 x 1080",
                                     "3840 x 2160", "5760 x 1080", "7680 x 1080",
                                     "1920 x 2160", "2560 x 1440", "3840 x 1200"};

void drawLabels(Composer& c, bool on) {
    c.label(q(pg::kTitleText), QStringLiteral("nIVRA - v3.11"), 12, false, false, Qt::AlignLeft,
            kLabelWhite);
    c.label(q(pg::kModelLabel), on ? QStringLiteral("RZ8 Quad") : QString::fromLatin1(kTexts.model),
            16, false, false, Qt::AlignLeft, kLabelAmber, on);
    c.label(q(pg::kSyncLabel), QStringLiteral("Device Setting Sync"), 12, false, false,
            Qt::AlignLeft, kLabelWhite, on);
    for (int g = 0; g < 5; ++g) {
        const auto& group = pg::kRadioGroups[g];
        c.label(q(group.heading), QString::fromLatin1(kHeadings[g]), 12, false, true, Qt::AlignLeft,
                kLabelAmber, on);
        for (int i = 0; i < group.count; ++i)
            c.label(q(group.labels[i]), QString::fromLatin1(kTexts.radios[g][i]), 12, false, false,
                    Qt::AlignLeft, kLabelWhite, on);
    }
    c.label(q(pg::kResHeading), QStringLiteral("DP Port -"), 14, true, true, Qt::AlignHCenter,
            kLabelAmber, on);
    c.label(q(pg::kUserTimes), QStringLiteral("x"), 12, false, false, Qt::AlignHCenter, kLabelWhite,
            on);
    c.label(q(pg::kParamHeading), QStringLiteral("Parameter -"), 14, true, true, Qt::AlignHCenter,
            kLabelAmber, on);
    for (int r = 0; r < 7; ++r)
        c.label(q(pg::kParamRows[r].label), QString::fromLatin1(kParamLabels[r]), 12, false, false,
                Qt::AlignRight, kLabelWhite, on);
    for (int i = 0; i < pg::kSliderStops - 1; ++i)
        c.label(q(pg::resLabel(i)), QString::fromLatin1(kResolutions[i]), 12, false, false,
                Qt::AlignLeft, kLabelWhite);
}

void drawDevices(Composer& c, bool on) {
    if (!on) return;
    for (int i = 0; i < 3; ++i) {
        c.image(QStringLiteral("GUIFrameMainCtrlRdoBtn_DeviceBox"), 4, i == 0 ? 1 : 0,
                q(pg::deviceButton(i)));
        c.label(q(pg::deviceLabel(i)),
                QStringLiteral("FW: 30\nCOM: %1\nBoxID: %2").arg(i + 3).arg(i + 1), 11, false,
                false, Qt::AlignHCenter, kLabelWhite);
    }
}

void drawControls(Composer& c, bool on) {
    const int off = on ? 0 : 3; // button state
    const char* const boxes[9] = {"1920", "1080", "60", "280", "88", "44", "45", "4", "5"};
    const QRect boxRects[9] = {
        q(pg::kUserWidthBox),     q(pg::kUserHeightBox),    q(pg::kParamRows[0].box),
        q(pg::kParamRows[1].box), q(pg::kParamRows[2].box), q(pg::kParamRows[3].box),
        q(pg::kParamRows[4].box), q(pg::kParamRows[5].box), q(pg::kParamRows[6].box)};
    const char* const idle[9] = {"0", "0", "20", "40", "10", "0", "0", "0", "0"};
    for (int i = 0; i < 9; ++i) {
        const int state = on ? (i == 0 ? 2 : (i == 3 ? 1 : 0)) : 3;
        c.image(QStringLiteral("GUIFrameMainCtrlEditBox"), 4, state, boxRects[i]);
        c.boxText(boxRects[i], QString::fromLatin1(on ? boxes[i] : idle[i]), on);
    }
    c.image(QStringLiteral("GUIFrameMainCtrlChkBox_STD"), 4, on ? 1 : 3, q(pg::kSyncCheck));
    const char* const switches[3] = {"GUIFrameMainCtrlSwitch_SerialCOM",
                                     "GUIFrameMainCtrlSwitch_Pattern",
                                     "GUIFrameMainCtrlSwitch_RGBW"};
    for (int i = 0; i < 3; ++i)
        c.image(QString::fromLatin1(switches[i]), 4, i == 0 ? (on ? 1 : 0) : (on ? (i == 1) : 2),
                q(pg::kSwitches[i]));
    c.image(QStringLiteral("GUIFrameMainCtrlBtn_Exit"), 4, 0, q(pg::kExit));
    c.image(QStringLiteral("GUIFrameMainCtrlBtn_HWReset"), 4, off, q(pg::kHWReset));
    c.image(QStringLiteral("GUIFrameMainCtrlBtn_Identify"), 4, off, q(pg::kIdentify));
    c.image(QStringLiteral("GUIFrameMainCtrlBtn_Setting"), 4, off, q(pg::kSetting));
    c.image(QStringLiteral("GUIFrameMainCtrlBtn_Apply"), 4, on ? 2 : 3, q(pg::kApply));
    c.image(QStringLiteral("GUIFrameMainCtrlBtn_Set"), 4, off, q(pg::kSet));
    for (int r = 0; r < 7; ++r) {
        c.image(QStringLiteral("GUIFrameMainCtrlBtn_AddInc"), 4, on && r == 1 ? 2 : off,
                q(pg::kParamRows[r].inc));
        c.image(QStringLiteral("GUIFrameMainCtrlBtn_AddDec"), 4, off, q(pg::kParamRows[r].dec));
    }
    for (int g = 0; g < 5; ++g)
        for (int i = 0; i < pg::kRadioGroups[g].count; ++i)
            c.image(QStringLiteral("GUIFrameMainCtrlRdoBtn_STD"), 4,
                    (i == 0 ? 1 : 0) + (on ? 0 : 2), q(pg::kRadioGroups[g].radios[i]));
    const int stop = on ? 2 : 0;
    const QRect thumb =
        q(pg::kSliderThumb).translated(0, pg::sliderStopTop(stop) - q(pg::kSliderThumb).top());
    c.image(QStringLiteral("GUIFrameMainCtrlSlider_ResolutionBar"), 4, on ? 1 : 3,
            q(pg::kSliderBar));
    c.image(QStringLiteral("GUIFrameMainCtrlSlider_ResolutionBtn"), 4, on ? 1 : 3, thumb);
}

} // namespace

QImage readSkin(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

QImage composePanel(const QString& skinRoot, bool connected) {
    const QDir root(skinRoot);
    QImage panelImage =
        readSkin(root.filePath(connected ? QStringLiteral("GUIFrameMain/GUIFrameMainBKEn.tksx")
                                         : QStringLiteral("GUIFrameMain/GUIFrameMainBKDs.tksx")));
    if (panelImage.isNull()) return {};
    panelImage = panelImage.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    bool complete = false;
    {
        Composer c(skinRoot, &panelImage);
        drawLabels(c, connected);
        drawDevices(c, connected);
        drawControls(c, connected);
        complete = c.ok();
    }
    return complete ? panelImage : QImage();
}

} // namespace skin
