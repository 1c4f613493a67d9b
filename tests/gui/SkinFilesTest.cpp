// The skin the build draws: every file the panel and the splash read is there, decodes by
// content as PNG with alpha, has the size of its place on the panel times its frame count,
// and shows its states so that they can be told apart.
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
#include <utility>
#include <vector>

namespace {

QDir skinRoot() {
    return QDir(QStringLiteral(KZTR_BUILD_DIR "/GUISkin"));
}

constexpr QRect ltrb(int l, int t, int r, int b) {
    return QRect(l, t, r - l, b - t);
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

struct StripCase {
    const char* name;
    const char* path;
    QSize frame; // the control's rectangle on the panel
    int frames;
    // Frame pairs that stand for different states and must look different.
    std::vector<std::pair<int, int>> distinct;
};

const std::vector<std::pair<int, int>> kButtonStates = {{0, 2}, {0, 3}, {2, 3}};
const std::vector<std::pair<int, int>> kTwoPositions = {{0, 1}, {0, 2}, {1, 3}, {2, 3}};
const std::vector<std::pair<int, int>> kFourLooks = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {2, 3}};

const StripCase kStrips[] = {
    {"Exit", "GUIFrameMain/GUIFrameMainCtrlBtn_Exit.tksx", ltrb(1179, 4, 1227, 28).size(), 4,
     kButtonStates},
    {"HWReset", "GUIFrameMain/GUIFrameMainCtrlBtn_HWReset.tksx", ltrb(662, 55, 786, 87).size(), 4,
     kButtonStates},
    {"SWReset", "GUIFrameMain/GUIFrameMainCtrlBtn_SWReset.tksx", ltrb(811, 55, 935, 87).size(), 4,
     kButtonStates},
    {"Identify", "GUIFrameMain/GUIFrameMainCtrlBtn_Identify.tksx", ltrb(505, 55, 629, 87).size(), 4,
     kButtonStates},
    {"Setting", "GUIFrameMain/GUIFrameMainCtrlBtn_Setting.tksx", ltrb(811, 55, 935, 87).size(), 4,
     kButtonStates},
    {"Apply", "GUIFrameMain/GUIFrameMainCtrlBtn_Apply.tksx", ltrb(1081, 55, 1205, 87).size(), 4,
     kButtonStates},
    {"Set", "GUIFrameMain/GUIFrameMainCtrlBtn_Set.tksx", ltrb(399, 866, 435, 882).size(), 4,
     kButtonStates},
    {"AddInc", "GUIFrameMain/GUIFrameMainCtrlBtn_AddInc.tksx", ltrb(741, 299, 775, 321).size(), 4,
     kButtonStates},
    {"AddDec", "GUIFrameMain/GUIFrameMainCtrlBtn_AddDec.tksx", ltrb(741, 322, 775, 348).size(), 4,
     kButtonStates},
    {"SwitchSerialCOM", "GUIFrameMain/GUIFrameMainCtrlSwitch_SerialCOM.tksx",
     ltrb(24, 53, 148, 89).size(), 4, kTwoPositions},
    {"SwitchPattern", "GUIFrameMain/GUIFrameMainCtrlSwitch_Pattern.tksx",
     ltrb(183, 53, 307, 89).size(), 4, kTwoPositions},
    {"SwitchRGBW", "GUIFrameMain/GUIFrameMainCtrlSwitch_RGBW.tksx", ltrb(342, 53, 466, 89).size(),
     4, kTwoPositions},
    {"CheckBox", "GUIFrameMain/GUIFrameMainCtrlChkBox_STD.tksx", ltrb(1080, 113, 1098, 132).size(),
     4, kTwoPositions},
    {"Radio", "GUIFrameMain/GUIFrameMainCtrlRdoBtn_STD.tksx", ltrb(17, 261, 36, 280).size(), 4,
     kTwoPositions},
    {"DeviceRadio", "GUIFrameMain/GUIFrameMainCtrlRdoBtn_DeviceBox.tksx",
     ltrb(45, 142, 70, 167).size(), 4, kTwoPositions},
    {"EditBox", "GUIFrameMain/GUIFrameMainCtrlEditBox.tksx", ltrb(695, 313, 735, 332).size(), 4,
     kFourLooks},
    {"SliderThumb", "GUIFrameMain/GUIFrameMainCtrlSlider_ResolutionBtn.tksx",
     ltrb(274, 316, 297, 339).size(), 4, kFourLooks},
    {"SliderBar", "GUIFrameMain/GUIFrameMainCtrlSlider_ResolutionBar.tksx",
     ltrb(278, 323, 293, 875).size(), 4, kFourLooks},
    {"ShadeSetting",
     "GUIFrameMain/GUIFrameMainBKShadowSetting.tksx",
     QSize(1235, 940),
     2,
     {{0, 1}}},
    {"ShadePure", "GUIFrameMain/GUIFrameMainBKShadowPure.tksx", QSize(1235, 940), 2, {{0, 1}}},
    {"BackgroundConnected", "GUIFrameMain/GUIFrameMainBKEn.tksx", QSize(1235, 940), 1, {}},
    {"BackgroundNotConnected", "GUIFrameMain/GUIFrameMainBKDs.tksx", QSize(1235, 940), 1, {}},
};

void PrintTo(const StripCase& c, std::ostream* os) {
    *os << c.name;
}

class SkinStrip : public ::testing::TestWithParam<StripCase> {};

TEST_P(SkinStrip, DecodesAsPngWithAlphaAtItsPlaceSize) {
    const StripCase& c = GetParam();
    const QString path = skinRoot().filePath(QString::fromLatin1(c.path));
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    EXPECT_TRUE(hasPngSignature(path));
    const QImage image = readByContent(path);
    ASSERT_FALSE(image.isNull()) << path.toStdString();
    EXPECT_TRUE(image.hasAlphaChannel());
    EXPECT_EQ(image.size(), QSize(c.frame.width() * c.frames, c.frame.height()));
}

TEST_P(SkinStrip, StatesLookDifferent) {
    const StripCase& c = GetParam();
    const QImage image = readByContent(skinRoot().filePath(QString::fromLatin1(c.path)));
    ASSERT_FALSE(image.isNull());
    for (const auto& [a, b] : c.distinct) {
        const double share = changedShare(frameOf(image, c.frames, a), frameOf(image, c.frames, b));
        // Small strips change only their marks; a few percent of the pixels is plainly visible.
        EXPECT_GT(share, 0.03) << "frames " << a << " and " << b;
    }
}

INSTANTIATE_TEST_SUITE_P(AllFiles, SkinStrip, ::testing::ValuesIn(kStrips),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SkinFolder, HoldsExactlyTheFilesThePanelAndSplashRead) {
    QStringList found;
    for (const char* sub : {"GUIFrameMain", "GUIFrameSplash"})
        for (const QString& name :
             QDir(skinRoot().filePath(QLatin1String(sub))).entryList(QDir::Files))
            found << QLatin1String(sub) + QLatin1Char('/') + name;
    QStringList expected;
    for (const StripCase& c : kStrips)
        expected << QString::fromLatin1(c.path);
    expected << QStringLiteral("GUIFrameSplash/GUIFrameSplashBK.tksx");
    found.sort();
    expected.sort();
    EXPECT_EQ(found, expected);
    EXPECT_EQ(expected.size(), 23);
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
    {"Title", ltrb(36, 7, 1137, 27), kWhite},
    {"Model", ltrb(14, 111, 300, 131), kAmber},
    {"SyncLabel", ltrb(1104, 111, 1225, 131), kWhite},
    {"HorzPolarity", ltrb(12, 230, 128, 250), kAmber},
    {"HorzPositive", ltrb(40, 258, 126, 283), kWhite},
    {"VertPolarity", ltrb(12, 321, 128, 341), kAmber},
    {"VertNegative", ltrb(40, 380, 126, 405), kWhite},
    {"ColorDepth", ltrb(12, 415, 128, 435), kAmber},
    {"AudioSupport", ltrb(12, 506, 128, 526), kAmber},
    {"EdidVersion", ltrb(12, 602, 128, 622), kAmber},
    {"EdidV20", ltrb(40, 722, 126, 747), kWhite},
    {"DpPort", ltrb(252, 262, 323, 282), kAmber},
    {"Times", ltrb(335, 863, 352, 884), kWhite},
    {"Parameter", ltrb(572, 262, 663, 282), kAmber},
    {"VerticalRate", ltrb(572, 313, 693, 333), kWhite},
    {"HorzSyncWidth", ltrb(572, 576, 693, 596), kWhite},
    {"VertSyncWidth", ltrb(825, 576, 946, 596), kWhite},
    {"FirstDeviceColumn", ltrb(23, 173, 89, 218), kWhite},
    {"LastDeviceColumn", ltrb(23 + 75 * 15, 173, 89 + 75 * 15, 218), kWhite},
    {"FirstResolution", ltrb(299, 312, 380, 331), kWhite},
    {"EighthResolution", ltrb(299, 800, 380, 819), kWhite},
};

class SkinBackground : public ::testing::TestWithParam<const char*> {};

TEST_P(SkinBackground, TextPlacesAreOpaqueAndReadable) {
    const QImage bk = readByContent(skinRoot().filePath(QString::fromLatin1(GetParam())))
                          .convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(bk.size(), QSize(1235, 940));
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
    const QRect places[] = {ltrb(24, 53, 148, 89),    ltrb(1179, 4, 1227, 28),
                            ltrb(1081, 55, 1205, 87), ltrb(1080, 113, 1098, 132),
                            ltrb(45, 142, 70, 167),   ltrb(45 + 75 * 15, 142, 70 + 75 * 15, 167),
                            ltrb(17, 726, 37, 745),   ltrb(274, 312, 297, 887),
                            ltrb(296, 864, 336, 883), ltrb(399, 866, 435, 882),
                            ltrb(994, 585, 1028, 611)};
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
    const QRect texts[] = {ltrb(6, 293, 264, 310), ltrb(6, 313, 264, 330)};
    for (const QRect& r : texts) {
        ASSERT_TRUE(QRect(QPoint(0, 0), splash.size()).contains(r));
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                ASSERT_EQ(qAlpha(splash.pixel(x, y)), 255) << x << "," << y;
                ASSERT_GE(contrast(splash.pixel(x, y), kWhite), 4.5) << x << "," << y;
            }
    }
}

TEST(SkinSheet, IsBuiltBesideTheSkin) {
    const QImage sheet = readByContent(QStringLiteral(KZTR_BUILD_DIR "/skin-sheet.png"));
    ASSERT_FALSE(sheet.isNull());
    // Twenty strips of frames and the half-size backgrounds do not fit in less.
    EXPECT_GE(sheet.width(), 1235);
    EXPECT_GE(sheet.height(), 940);
}

} // namespace
