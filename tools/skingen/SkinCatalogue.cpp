#include "SkinCatalogue.h"

#include "SkinBackground.h"
#include "SkinControls.h"
#include "SkinPlaces.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

namespace skin {

namespace {

QString mainFile(const char* stem) {
    return QStringLiteral("GUIFrameMain/%1.tksx").arg(QLatin1String(stem));
}

SkinFile button(const char* stem, QRect rect, const QString& caption, ButtonStyle style,
                Icon icon = Icon::None) {
    return {mainFile(stem), Kind::Button, 4, rect.size(),
            [=] { return buttonStrip(rect.size(), caption, style, icon); }};
}

SkinFile control(const char* stem, Kind kind, QSize size, std::function<QImage()> draw) {
    return {mainFile(stem), kind, 4, size, std::move(draw)};
}

QList<int> barStops() {
    QList<int> stops;
    for (int i = 0; i < pg::kSliderStops; ++i)
        stops.append(pg::sliderStopTop(i) + 11 - q(pg::kSliderBar).top());
    return stops;
}

QList<SkinFile> buildCatalogue() {
    const QSize panelSize = kPanelSize;
    const QSize radio = q(pg::kRadioGroups[0].radios[0]).size();
    const QSize device = q(pg::deviceButton(0)).size();
    const QSize check = q(pg::kSyncCheck).size();
    const QSize edit = q(pg::kParamRows[0].box).size();
    const QSize inc = q(pg::kParamRows[0].inc).size();
    const QSize dec = q(pg::kParamRows[0].dec).size();
    const QSize thumb = q(pg::kSliderThumb).size();
    const QSize bar = q(pg::kSliderBar).size();
    return {
        {mainFile("GUIFrameMainBKEn"), Kind::Single, 1, panelSize,
         [] { return mainBackground(true); }},
        {mainFile("GUIFrameMainBKDs"), Kind::Single, 1, panelSize,
         [] { return mainBackground(false); }},
        {mainFile("GUIFrameMainBKShadowSetting"), Kind::Panel, 2, panelSize,
         [] { return shadeStrip(true); }},
        {mainFile("GUIFrameMainBKShadowPure"), Kind::Panel, 2, panelSize,
         [] { return shadeStrip(false); }},
        button("GUIFrameMainCtrlBtn_Exit", q(pg::kExit), QStringLiteral("Exit"),
               ButtonStyle::Title),
        button("GUIFrameMainCtrlBtn_HWReset", q(pg::kHWReset), QStringLiteral("HW Reset"),
               ButtonStyle::Danger, Icon::Power),
        button("GUIFrameMainCtrlBtn_SWReset", q(pg::kSWReset), QStringLiteral("SW Reset"),
               ButtonStyle::Neutral, Icon::Restart),
        button("GUIFrameMainCtrlBtn_Identify", q(pg::kIdentify), QStringLiteral("Identify"),
               ButtonStyle::Neutral, Icon::Identify),
        button("GUIFrameMainCtrlBtn_Setting", q(pg::kSetting), QStringLiteral("Setting"),
               ButtonStyle::Neutral, Icon::Settings),
        button("GUIFrameMainCtrlBtn_Apply", q(pg::kApply), QStringLiteral("Apply"),
               ButtonStyle::Primary, Icon::Check),
        button("GUIFrameMainCtrlBtn_Set", q(pg::kSet), QStringLiteral("Set"), ButtonStyle::Primary),
        control("GUIFrameMainCtrlBtn_AddInc", Kind::Button, inc,
                [=] { return stepperStrip(inc, true); }),
        control("GUIFrameMainCtrlBtn_AddDec", Kind::Button, dec,
                [=] { return stepperStrip(dec, false); }),
        control(
            "GUIFrameMainCtrlSwitch_SerialCOM", Kind::Switch, q(pg::kSwitches[0]).size(),
            [] { return switchStrip(q(pg::kSwitches[0]).size(), QStringLiteral("Serial COM")); }),
        control("GUIFrameMainCtrlSwitch_Pattern", Kind::Switch, q(pg::kSwitches[1]).size(),
                [] { return switchStrip(q(pg::kSwitches[1]).size(), QStringLiteral("Pattern")); }),
        control("GUIFrameMainCtrlSwitch_RGBW", Kind::Switch, q(pg::kSwitches[2]).size(),
                [] { return switchStrip(q(pg::kSwitches[2]).size(), QStringLiteral("RGBW")); }),
        control("GUIFrameMainCtrlChkBox_STD", Kind::Check, check,
                [=] { return checkStrip(check); }),
        control("GUIFrameMainCtrlRdoBtn_STD", Kind::Check, radio,
                [=] { return radioStrip(radio); }),
        control("GUIFrameMainCtrlRdoBtn_DeviceBox", Kind::Check, device,
                [=] { return deviceRadioStrip(device); }),
        control("GUIFrameMainCtrlEditBox", Kind::Edit, edit, [=] { return editStrip(edit); }),
        control("GUIFrameMainCtrlSlider_ResolutionBtn", Kind::Slider, thumb,
                [=] { return sliderThumbStrip(thumb); }),
        control("GUIFrameMainCtrlSlider_ResolutionBar", Kind::Slider, bar,
                [=] { return sliderBarStrip(bar, barStops()); }),
        {QStringLiteral("GUIFrameSplash/GUIFrameSplashBK.tksx"), Kind::Single, 1, kSplashSize,
         [] { return splashBackground(); }},
    };
}

} // namespace

const QList<SkinFile>& catalogue() {
    static const QList<SkinFile> files = buildCatalogue();
    return files;
}

namespace {

// The panel reads the files at scale 1; screens of ratio 1.5 and more read the twins.
constexpr int kScales[] = {1, 2};

bool writeFile(const QString& path, const SkinFile& file, int scale, QString* error) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error = QStringLiteral("cannot create the folder of %1").arg(path);
        return false;
    }
    const QImage image = file.draw().convertToFormat(QImage::Format_ARGB32);
    const QSize expected =
        QSize(file.frameSize.width() * file.frames, file.frameSize.height()) * scale;
    if (image.size() != expected) {
        *error = QStringLiteral("%1 came out %2x%3, expected %4x%5")
                     .arg(path)
                     .arg(image.width())
                     .arg(image.height())
                     .arg(expected.width())
                     .arg(expected.height());
        return false;
    }
    // PNG content under the skin's own extension; readers detect the format by content.
    QImageWriter writer(path, "png");
    if (!writer.write(image)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, writer.errorString());
        return false;
    }
    return true;
}

} // namespace

QString scaledSkinPath(const QString& relativePath, int scale) {
    if (scale == 1) return relativePath;
    // Qt's naming rule: "@2x" before the extension; its image reader then gives ratio 2.
    const int dot = relativePath.lastIndexOf(QLatin1Char('.'));
    return relativePath.left(dot) + QStringLiteral("@%1x").arg(scale) + relativePath.mid(dot);
}

bool writeSkin(const QString& skinRoot, QString* error) {
    const QDir root(skinRoot);
    for (const int scale : kScales) {
        const CanvasScale drawnAt(scale);
        for (const SkinFile& file : catalogue()) {
            if (!writeFile(root.filePath(scaledSkinPath(file.relativePath, scale)), file, scale,
                           error))
                return false;
        }
    }
    return true;
}

} // namespace skin
