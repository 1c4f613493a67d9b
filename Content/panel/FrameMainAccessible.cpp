#include "FrameMainAccessible.h"

#include "AccessibleFrame.h"
#include "GUIGDIPlusMfcFrameMain.h"

#include <QRegularExpression>

namespace {

using Frame = CGUIGDIPlusMfcFrameMain;

// Label slots the names come from.
constexpr int kTextSync = 2;
struct RadioGroupLabels {
    int heading;
    int firstLabel;
};
constexpr RadioGroupLabels kHPolLabels{3, 4};
constexpr RadioGroupLabels kVPolLabels{6, 7};
constexpr RadioGroupLabels kColorLabels{9, 10};
constexpr RadioGroupLabels kAudioLabels{12, 13};
constexpr RadioGroupLabels kEDIDLabels{15, 16};
// The label of number box 2 ("Vertical Rate :"); boxes 3 to 8 follow it.
constexpr int kFirstTimingLabel = 23;
constexpr int kFirstTimingBox = Frame::kEditVRate;

// Push buttons whose skin carries their word.
const char* const kButtonNames[Frame::kFirstAdjusterBtn] = {
    "Exit", "HW Reset", "SW Reset", "Identify", "Setting", "Apply", "Set"};
const char* const kSwitchNames[Frame::kSwitchCount] = {"Serial COM", "Pattern", "RGBW"};

// "Vertical Rate :" -> "Vertical Rate", "DP Port -" -> "DP Port", lines joined.
QString LabelName(const QString& text) {
    static const QRegularExpression trailer(QStringLiteral("\\s*[:-]\\s*$"));
    return text.simplified().remove(trailer);
}

// The name a label gives its control, read when asked (device columns change).
std::function<QString()> NameFromLabel(const CGUIGDIPlusMfcCtrlText& label) {
    return [&label] { return LabelName(label.m_strText); };
}

QString TimingBoxName(const Frame& f, int box) {
    return LabelName(f.m_hGUICtrlText[kFirstTimingLabel + box - kFirstTimingBox].m_strText);
}

template <size_t N>
void AddRadioGroup(std::vector<AccessibleCtrlBinding>& out, Frame& f,
                   CGUIGDIPlusMfcCtrlRdoBtn (&group)[N], RadioGroupLabels labels) {
    const CGUIGDIPlusMfcCtrlText& heading = f.m_hGUICtrlText[labels.heading];
    for (size_t i = 0; i < N; ++i) {
        AccessibleCtrlBinding b =
            AccessibleBind::Checkable(group[i], QAccessible::RadioButton, f.GetMouseRouter());
        const CGUIGDIPlusMfcCtrlText& label = f.m_hGUICtrlText[labels.firstLabel + int(i)];
        b.name = [&heading, &label] {
            return LabelName(heading.m_strText) + QLatin1Char(' ') + LabelName(label.m_strText);
        };
        out.push_back(std::move(b));
    }
}

// The resolution the slider's tick stands for: its label, or for the user-defined tick
// the two pixel boxes.
QString SliderValueText(const Frame& f) {
    const int pos = f.m_hGUICtrlSliderRes.GetPos();
    if (pos < 0 || pos >= Frame::kTextResCount) return {};
    const QString label = f.m_hGUICtrlTextRes[pos].m_strText.simplified();
    if (!label.isEmpty()) return label;
    return QStringLiteral("%1 x %2").arg(f.m_hGUICtrlEditBox[Frame::kEditHPixel].GetText(),
                                         f.m_hGUICtrlEditBox[Frame::kEditVPixel].GetText());
}

QAccessibleInterface* FrameMainFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(Frame::staticMetaObject.className())) return nullptr;
    auto* frame = qobject_cast<Frame*>(object);
    if (frame == nullptr) return nullptr;
    return new AccessibleSkinnedFrame(frame, FrameMainAccessibleControls(*frame));
}

} // namespace

std::vector<AccessibleCtrlBinding> FrameMainAccessibleControls(Frame& f) {
    MouseRouter& router = f.GetMouseRouter();
    std::vector<AccessibleCtrlBinding> out;

    for (int i = 0; i < Frame::kSwitchCount; ++i) {
        // Qt has no switch role: a button that keeps its checked state, as a checkable
        // push button is described.
        AccessibleCtrlBinding b =
            AccessibleBind::Checkable(f.m_hGUICtrlSwitch[i], QAccessible::Button, router);
        b.name = [name = QString::fromLatin1(kSwitchNames[i])] { return name; };
        b.description = QStringLiteral("On/off switch");
        out.push_back(std::move(b));
    }

    for (int i = 0; i < Frame::kBtnCount; ++i) {
        AccessibleCtrlBinding b = AccessibleBind::Button(f.m_hGUICtrlBtn[i], router);
        if (i < Frame::kFirstAdjusterBtn) {
            b.name = [name = QString::fromLatin1(kButtonNames[i])] { return name; };
        } else {
            // Pairs of + and - for boxes 2 to 8.
            const int box = kFirstTimingBox + (i - Frame::kFirstAdjusterBtn) / 2;
            const bool inc = (i - Frame::kFirstAdjusterBtn) % 2 == 0;
            b.name = [&f, box, inc] {
                return TimingBoxName(f, box) + (inc ? QStringLiteral(" +") : QStringLiteral(" -"));
            };
        }
        out.push_back(std::move(b));
    }

    AccessibleCtrlBinding sync =
        AccessibleBind::Checkable(f.m_hGUICtrlChkBox[0], QAccessible::CheckBox, router);
    sync.name = NameFromLabel(f.m_hGUICtrlText[kTextSync]);
    out.push_back(std::move(sync));

    for (int i = 0; i < Frame::kDevBoxCount; ++i) {
        AccessibleCtrlBinding b = AccessibleBind::Checkable(f.m_hGUICtrlRdoBtnDevBox[i],
                                                            QAccessible::RadioButton, router);
        b.name = NameFromLabel(f.m_hGUICtrlTextDevBox[i]);
        b.description = QStringLiteral("Shows this controller's configuration");
        out.push_back(std::move(b));
    }
    AddRadioGroup(out, f, f.m_hGUICtrlRdoBtnHPol, kHPolLabels);
    AddRadioGroup(out, f, f.m_hGUICtrlRdoBtnVPol, kVPolLabels);
    AddRadioGroup(out, f, f.m_hGUICtrlRdoBtnColor, kColorLabels);
    AddRadioGroup(out, f, f.m_hGUICtrlRdoBtnAudio, kAudioLabels);
    AddRadioGroup(out, f, f.m_hGUICtrlRdoBtnEDID, kEDIDLabels);

    for (int i = 0; i < Frame::kEditBoxCount; ++i) {
        AccessibleCtrlBinding b = AccessibleBind::NumberBox(f.m_hGUICtrlEditBox[i], router);
        if (i == Frame::kEditHPixel || i == Frame::kEditVPixel) {
            const QString name =
                i == Frame::kEditHPixel ? QStringLiteral("Width") : QStringLiteral("Height");
            b.name = [name] { return name; };
            b.description = QStringLiteral("User-defined resolution, written by Set");
        } else {
            b.name = [&f, i] { return TimingBoxName(f, i); };
            // Its + and - buttons, which keep it within its bounds.
            CGUIGDIPlusMfcCtrlBtn& up =
                f.m_hGUICtrlBtn[Frame::kFirstAdjusterBtn + 2 * (i - kFirstTimingBox)];
            CGUIGDIPlusMfcCtrlBtn& down =
                f.m_hGUICtrlBtn[Frame::kFirstAdjusterBtn + 2 * (i - kFirstTimingBox) + 1];
            b.actions.push_back({QAccessibleActionInterface::increaseAction(),
                                 [&up, &router] { AccessibleBind::ClickAt(router, up.m_rcCtrl); }});
            b.actions.push_back({QAccessibleActionInterface::decreaseAction(), [&down, &router] {
                                     AccessibleBind::ClickAt(router, down.m_rcCtrl);
                                 }});
        }
        out.push_back(std::move(b));
    }

    AccessibleCtrlBinding slider = AccessibleBind::Slider(f.m_hGUICtrlSliderRes, router);
    slider.name = [] { return QStringLiteral("Output Resolution"); };
    slider.valueText = [&f] { return SliderValueText(f); };
    out.push_back(std::move(slider));

    for (const CGUIGDIPlusMfcCtrlText& t : f.m_hGUICtrlText)
        out.push_back(AccessibleBind::Label(t));
    for (const CGUIGDIPlusMfcCtrlText& t : f.m_hGUICtrlTextDevBox)
        out.push_back(AccessibleBind::Label(t));
    for (const CGUIGDIPlusMfcCtrlText& t : f.m_hGUICtrlTextRes)
        out.push_back(AccessibleBind::Label(t));
    return out;
}

void InstallFrameMainAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&FrameMainFactory);
        return true;
    }();
    (void)installed;
}
