// The skin the build draws: every file the panel and the splash read is there, decodes by
// content as PNG with alpha, has the size of its place on the panel times its frame count,
// and shows its states so that they can be told apart.
#include "SkinPlaces.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

// The places the layout puts the controls at, which the artwork was drawn for.
namespace pg = PanelGeometry;
using skin::kPanelSize;
using skin::q;

QDir skinRoot() {
    return QDir(QStringLiteral(KZTR_BUILD_DIR "/GUISkin"));
}

QImage readByContent(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

bool hasPngSignature(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(8) == QByteArray("\x89PNG\r\n\x1a\n", 8);
}

QImage frameOf(const QImage& strip, int frames, int index) {
    const int w = strip.width() / frames;
    return strip.copy(w * index, 0, w, strip.height());
}

// What the eye sees: the frame over the dark panel it sits on.
QImage overPanel(const QImage& frame) {
    QImage out(frame.size(), QImage::Format_ARGB32);
    out.fill(QColor(0x19, 0x1e, 0x24));
    QPainter p(&out);
    p.drawImage(0, 0, frame);
    return out;
}

// Share of pixels whose colour differs by more than a barely visible step.
double changedShare(const QImage& a, const QImage& b) {
    const QImage x = overPanel(a), y = overPanel(b);
    int changed = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q))});
            if (d > 24) ++changed;
        }
    return double(changed) / (x.width() * x.height());
}

// Mean over the pixels of the largest channel difference, over the panel's colour.
double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = overPanel(a), y = overPanel(b);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))});
        }
    return sum / (double(x.width()) * x.height());
}

struct StripCase {
    std::string name;
    QString path; // under GUISkin/
    QSize frame;  // the control's rectangle on the panel
    int frames;
    // Frame pairs that stand for different states and must look different.
    std::vector<std::pair<int, int>> distinct;
};

const std::vector<std::pair<int, int>> kButtonStates = {{0, 2}, {0, 3}, {2, 3}};
const std::vector<std::pair<int, int>> kTwoPositions = {{0, 1}, {0, 2}, {1, 3}, {2, 3}};
const std::vector<std::pair<int, int>> kFourLooks = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {2, 3}};

QString mainFile(const std::string& stem) {
    return QStringLiteral("GUIFrameMain/GUIFrameMain%1.tksx").arg(QString::fromStdString(stem));
}

// A 4-frame control strip "GUIFrameMain<stem>.tksx" for a place on the panel.
StripCase control(const std::string& name, const std::string& stem, const QRect& place,
                  const std::vector<std::pair<int, int>>& distinct) {
    return {name, mainFile(stem), place.size(), 4, distinct};
}

StripCase button(const std::string& name, const QRect& place) {
    return control(name, "CtrlBtn_" + name, place, kButtonStates);
}

const StripCase kStrips[] = {
    button("Exit", q(pg::kExit)),
    button("HWReset", q(pg::kHWReset)),
    // The software reset is hidden under the setting button.
    button("SWReset", q(pg::kSetting)),
    button("Identify", q(pg::kIdentify)),
    button("Setting", q(pg::kSetting)),
    button("Apply", q(pg::kApply)),
    button("Set", q(pg::kSet)),
    button("AddInc", q(pg::kParamRows[0].inc)),
    button("AddDec", q(pg::kParamRows[0].dec)),
    control("SwitchSerialCOM", "CtrlSwitch_SerialCOM", q(pg::kSwitches[0]), kTwoPositions),
    control("SwitchPattern", "CtrlSwitch_Pattern", q(pg::kSwitches[1]), kTwoPositions),
    control("SwitchRGBW", "CtrlSwitch_RGBW", q(pg::kSwitches[2]), kTwoPositions),
    control("CheckBox", "CtrlChkBox_STD", q(pg::kSyncCheck), kTwoPositions),
    control("Radio", "CtrlRdoBtn_STD", q(pg::kRadioGroups[0].radios[0]), kTwoPositions),
    control("DeviceRadio", "CtrlRdoBtn_DeviceBox", q(pg::deviceButton(0)), kTwoPositions),
    control("EditBox", "CtrlEditBox", q(pg::kParamRows[0].box), kFourLooks),
    control("SliderThumb", "CtrlSlider_ResolutionBtn", q(pg::kSliderThumb), kFourLooks),
    control("SliderBar", "CtrlSlider_ResolutionBar", q(pg::kSliderBar), kFourLooks),
    {"ShadeSetting", mainFile("BKShadowSetting"), kPanelSize, 2, {{0, 1}}},
    {"ShadePure", mainFile("BKShadowPure"), kPanelSize, 2, {{0, 1}}},
    {"BackgroundConnected", mainFile("BKEn"), kPanelSize, 1, {}},
    {"BackgroundNotConnected", mainFile("BKDs"), kPanelSize, 1, {}},
};

void PrintTo(const StripCase& c, std::ostream* os) {
    *os << c.name;
}

class SkinStrip : public ::testing::TestWithParam<StripCase> {};

TEST_P(SkinStrip, DecodesAsPngWithAlphaAtItsPlaceSize) {
    const StripCase& c = GetParam();
    const QString path = skinRoot().filePath(c.path);
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    EXPECT_TRUE(hasPngSignature(path));
    const QImage image = readByContent(path);
    ASSERT_FALSE(image.isNull()) << path.toStdString();
    EXPECT_TRUE(image.hasAlphaChannel());
    EXPECT_EQ(image.size(), QSize(c.frame.width() * c.frames, c.frame.height()));
}

TEST_P(SkinStrip, StatesLookDifferent) {
    const StripCase& c = GetParam();
    const QImage image = readByContent(skinRoot().filePath(c.path));
    ASSERT_FALSE(image.isNull());
    for (const auto& [a, b] : c.distinct) {
        const double share = changedShare(frameOf(image, c.frames, a), frameOf(image, c.frames, b));
        // Small strips change only their marks; a few percent of the pixels is plainly visible.
        EXPECT_GT(share, 0.03) << "frames " << a << " and " << b;
    }
}

INSTANTIATE_TEST_SUITE_P(AllFiles, SkinStrip, ::testing::ValuesIn(kStrips),
                         [](const auto& info) { return info.param.name; });

// The twin of a skin file for screens of ratio 1.5 and more, by Qt's "@2x" naming rule.
QString twinOf(const QString& path) {
    return QString(path).replace(QLatin1String(".tksx"), QLatin1String("@2x.tksx"));
}

TEST_P(SkinStrip, HasATwinTwiceAsLargeOfTheSamePicture) {
    const StripCase& c = GetParam();
    const QString path = skinRoot().filePath(twinOf(c.path));
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    EXPECT_TRUE(hasPngSignature(path));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage twin = reader.read();
    ASSERT_FALSE(twin.isNull());
    EXPECT_TRUE(twin.hasAlphaChannel());
    EXPECT_EQ(twin.size(), QSize(c.frame.width() * c.frames, c.frame.height()) * 2);
    // Qt's reader takes the ratio from the name: drawn at the 1x size on a 2x surface.
    EXPECT_EQ(twin.devicePixelRatio(), 2.0);
    // Shrunk back, each frame is its 1x frame up to the smoothing of edges, text and fine
    // icons (a few levels on average; up to 17 on the device button's icon), and
    // nearer to it than to the frame of any other state.
    const QImage one = readByContent(skinRoot().filePath(c.path));
    QImage half = twin;
    half.setDevicePixelRatio(1.0);
    half = half.scaled(one.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (int k = 0; k < c.frames; ++k)
        EXPECT_LT(meanDifference(frameOf(one, c.frames, k), frameOf(half, c.frames, k)), 20.0)
            << "frame " << k;
    for (const auto& [a, b] : c.distinct)
        EXPECT_LT(meanDifference(frameOf(one, c.frames, a), frameOf(half, c.frames, a)),
                  meanDifference(frameOf(one, c.frames, a), frameOf(half, c.frames, b)))
            << "frames " << a << " and " << b;
}

TEST(SkinFolder, HoldsExactlyTheFilesThePanelAndSplashRead) {
    QStringList found;
    for (const char* sub : {"GUIFrameMain", "GUIFrameSplash"})
        for (const QString& name :
             QDir(skinRoot().filePath(QLatin1String(sub))).entryList(QDir::Files))
            found << QLatin1String(sub) + QLatin1Char('/') + name;
    QStringList expected;
    for (const StripCase& c : kStrips)
        expected << c.path;
    expected << QStringLiteral("GUIFrameSplash/GUIFrameSplashBK.tksx");
    EXPECT_EQ(expected.size(), 23);
    // Beside each, its twin for dense screens.
    for (const QString& path : QStringList(expected))
        expected << twinOf(path);
    found.sort();
    expected.sort();
    EXPECT_EQ(found, expected);
}

// Relative luminance and contrast ratio as used for text legibility.
double luminance(QRgb c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(qRed(c)) + 0.7152 * lin(qGreen(c)) + 0.0722 * lin(qBlue(c));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct LabelPlace {
    const char* name;
    QRect rect;
    QRgb colour;
};

constexpr QRgb kWhite = 0xffffff;
constexpr QRgb kAmber = 0xffdc2d;
constexpr QRgb kGrey = 0x969696;

// Labels, device columns, resolution texts and number boxes: text lands on these places.
const LabelPlace kTextPlaces[] = {
    {"Title", q(pg::kTitleText), kWhite},
    {"Model", q(pg::kModelLabel), kAmber},
    {"SyncLabel", q(pg::kSyncLabel), kWhite},
    {"HorzPolarity", q(pg::kRadioGroups[0].heading), kAmber},
    {"HorzPositive", q(pg::kRadioGroups[0].labels[0]), kWhite},
    {"VertPolarity", q(pg::kRadioGroups[1].heading), kAmber},
    {"VertNegative", q(pg::kRadioGroups[1].labels[1]), kWhite},
    {"ColorDepth", q(pg::kRadioGroups[2].heading), kAmber},
    {"AudioSupport", q(pg::kRadioGroups[3].heading), kAmber},
    {"EdidVersion", q(pg::kRadioGroups[4].heading), kAmber},
    {"EdidV20", q(pg::kRadioGroups[4].labels[3]), kWhite},
    {"DpPort", q(pg::kResHeading), kAmber},
    {"Times", q(pg::kUserTimes), kWhite},
    {"Parameter", q(pg::kParamHeading), kAmber},
    {"VerticalRate", q(pg::kParamRows[0].label), kWhite},
    {"HorzSyncWidth", q(pg::kParamRows[3].label), kWhite},
    {"VertSyncWidth", q(pg::kParamRows[6].label), kWhite},
    {"FirstDeviceColumn", q(pg::deviceLabel(0)), kWhite},
    {"LastDeviceColumn", q(pg::deviceLabel(pg::kDeviceCount - 1)), kWhite},
    {"FirstResolution", q(pg::resLabel(0)), kWhite},
    {"EighthResolution", q(pg::resLabel(8)), kWhite},
};

class SkinBackground : public ::testing::TestWithParam<const char*> {};

TEST_P(SkinBackground, TextPlacesAreOpaqueAndReadable) {
    const QImage bk = readByContent(skinRoot().filePath(QString::fromLatin1(GetParam())))
                          .convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(bk.size(), kPanelSize);
    for (const LabelPlace& place : kTextPlaces) {
        double worst = 1e9;
        bool opaque = true;
        for (int y = place.rect.top(); y <= place.rect.bottom(); ++y)
            for (int x = place.rect.left(); x <= place.rect.right(); ++x) {
                const QRgb px = bk.pixel(x, y);
                opaque = opaque && qAlpha(px) == 255;
                worst = std::min(worst, contrast(px, place.colour));
            }
        EXPECT_TRUE(opaque) << place.name;
        // 4.5:1 for the text colours; the disabled grey still needs 3:1.
        EXPECT_GE(worst, 4.5) << place.name;
        double worstGrey = 1e9;
        for (int y = place.rect.top(); y <= place.rect.bottom(); ++y)
            for (int x = place.rect.left(); x <= place.rect.right(); ++x)
                worstGrey = std::min(worstGrey, contrast(bk.pixel(x, y), kGrey));
        EXPECT_GE(worstGrey, 3.0) << place.name;
    }
}

TEST_P(SkinBackground, ControlPlacesAreOpaque) {
    const QImage bk = readByContent(skinRoot().filePath(QString::fromLatin1(GetParam())))
                          .convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(bk.isNull());
    // The thumb's whole travel, from the first stop to the last.
    const QRect thumbTravel(q(pg::kSliderThumb).left(), pg::sliderStopTop(0),
                            q(pg::kSliderThumb).width(),
                            pg::sliderStopTop(pg::kSliderStops - 1) - pg::sliderStopTop(0) +
                                q(pg::kSliderThumb).height());
    const QRect places[] = {q(pg::kSwitches[0]),
                            q(pg::kExit),
                            q(pg::kApply),
                            q(pg::kSyncCheck),
                            q(pg::deviceButton(0)),
                            q(pg::deviceButton(pg::kDeviceCount - 1)),
                            q(pg::kRadioGroups[4].radios[3]),
                            thumbTravel,
                            q(pg::kUserWidthBox),
                            q(pg::kSet),
                            q(pg::kParamRows[6].dec)};
    for (const QRect& r : places)
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                ASSERT_EQ(qAlpha(bk.pixel(x, y)), 255) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(BothLooks, SkinBackground,
                         ::testing::Values("GUIFrameMain/GUIFrameMainBKEn.tksx",
                                           "GUIFrameMain/GUIFrameMainBKDs.tksx"),
                         [](const auto& info) {
                             return std::string(QString::fromLatin1(info.param).contains("BKEn")
                                                    ? "Connected"
                                                    : "NotConnected");
                         });

TEST(SkinBackgrounds, ConnectedAndNotConnectedLookDifferent) {
    const QImage en = readByContent(skinRoot().filePath("GUIFrameMain/GUIFrameMainBKEn.tksx"));
    const QImage ds = readByContent(skinRoot().filePath("GUIFrameMain/GUIFrameMainBKDs.tksx"));
    ASSERT_EQ(en.size(), ds.size());
    // The link accents are thin lines: a fraction of a percent of the panel, but not zero.
    EXPECT_GT(changedShare(en, ds), 0.002);
}

TEST(SkinSplash, CoversItsTextsOpaquelyAndReadably) {
    const QImage splash = readByContent(skinRoot().filePath("GUIFrameSplash/GUIFrameSplashBK.tksx"))
                              .convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(splash.isNull());
    EXPECT_TRUE(splash.hasAlphaChannel());
    const QRect texts[] = {q(pg::kSplashVersion), q(pg::kSplashNotice)};
    for (const QRect& r : texts) {
        ASSERT_TRUE(QRect(QPoint(0, 0), splash.size()).contains(r));
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                ASSERT_EQ(qAlpha(splash.pixel(x, y)), 255) << x << "," << y;
                ASSERT_GE(contrast(splash.pixel(x, y), kWhite), 4.5) << x << "," << y;
            }
    }
}

// The panel with shade frame 0 over it, as the eye sees it.
QImage underShade(const QImage& panel, const QString& shade) {
    const QImage strip = readByContent(skinRoot().filePath(shade));
    QImage out = panel.convertToFormat(QImage::Format_ARGB32);
    QPainter p(&out);
    p.drawImage(0, 0, frameOf(strip, 2, 0));
    return out;
}

double meanGrey(const QImage& img, const QRect& r) {
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            sum += qGray(img.pixel(x, y));
    return sum / (double(r.width()) * r.height());
}

TEST(SkinShades, WorkingIsDarkWhileWaitingForAnAnswerLeavesThePanelReadable) {
    const QImage bk = readByContent(skinRoot().filePath(mainFile("BKEn")));
    ASSERT_EQ(bk.size(), kPanelSize);
    // White text on every text place, then each shade over it.
    QImage panel = bk.convertToFormat(QImage::Format_ARGB32);
    {
        QPainter p(&panel);
        for (const LabelPlace& place : kTextPlaces)
            p.fillRect(place.rect.adjusted(0, 0, 0, -place.rect.height() / 2), QColor(kWhite));
    }
    const QImage working = underShade(panel, mainFile("BKShadowSetting"));
    const QImage waiting = underShade(panel, mainFile("BKShadowPure"));
    // Away from the busy card in the middle: the left column and the title strip.
    for (const QRect& area : {QRect(6, 226, 132, 672), QRect(0, 0, 1235, 32)})
        EXPECT_GT(meanGrey(waiting, area), 2.0 * meanGrey(working, area))
            << area.x() << "," << area.y();
    // Under the answer's shade white text still stands out from what is around it.
    for (const LabelPlace& place : kTextPlaces) {
        const QRgb text = waiting.pixel(place.rect.left() + 1, place.rect.top() + 1);
        const QRgb around = waiting.pixel(place.rect.left() + 1, place.rect.bottom());
        EXPECT_GE(contrast(text, around), 4.5) << place.name;
    }
}

TEST(SkinSheet, IsBuiltBesideTheSkin) {
    const QImage sheet = readByContent(QStringLiteral(KZTR_BUILD_DIR "/skin-sheet.png"));
    ASSERT_FALSE(sheet.isNull());
    // Twenty strips of frames and the half-size backgrounds do not fit in less.
    EXPECT_GE(sheet.width(), kPanelSize.width());
    EXPECT_GE(sheet.height(), kPanelSize.height());
}

} // namespace
