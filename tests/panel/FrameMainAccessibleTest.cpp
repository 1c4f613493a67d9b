// The panel as assistive technology reads it: the frame's accessible children by role and
// name, their states, values, screen rectangles and actions, and the notifications sent
// when a state or value changes.
#include "AccessibleEventLog.h"
#include "PanelTestFrame.h"

#include <QAccessible>
#include <QCoreApplication>

namespace {

using Frame = CGUIGDIPlusMfcFrameMain;
using kztr::test::AccessibleEventLog;

class PanelAccessibleTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        StartUp();
        m_frame->m_vecMessages.clear();
        AccessibleEventLog::Clear();
    }

    QAccessibleInterface* Frame_() { return QAccessible::queryAccessibleInterface(m_frame.get()); }

    // Every child of that role and name.
    std::vector<QAccessibleInterface*> All(QAccessible::Role role, const QString& name) {
        std::vector<QAccessibleInterface*> out;
        QAccessibleInterface* f = Frame_();
        for (int i = 0; i < f->childCount(); ++i) {
            QAccessibleInterface* c = f->child(i);
            if (c->role() == role && c->text(QAccessible::Name) == name) out.push_back(c);
        }
        return out;
    }
    // The one child of that role and name; fails the test when there is not exactly one.
    QAccessibleInterface* Find(QAccessible::Role role, const QString& name) {
        const auto found = All(role, name);
        EXPECT_EQ(found.size(), 1u) << qPrintable(name);
        return found.size() == 1 ? found[0] : nullptr;
    }
    void Deliver() { QCoreApplication::processEvents(); }
    // As the connect leaves it: every control usable.
    void Enable() {
        m_frame->EnableAllCtrl(true);
        m_frame->RepaintFrame();
        AccessibleEventLog::Clear();
    }
    // Controllers in the first n device columns, as the connect fills them.
    void ShowDeviceColumns(int n) {
        m_frame->EnableAllCtrl(true);
        for (int i = 0; i < n; ++i) {
            m_frame->m_hGUICtrlRdoBtnDevBox[i].SetVisible(true);
            m_frame->m_hGUICtrlRdoBtnDevBox[i].SetCheck(i == 0);
            m_frame->m_hGUICtrlTextDevBox[i].SetVisible(true);
            m_frame->m_hGUICtrlTextDevBox[i].SetText(
                FormatDeviceBoxText(uint8_t(30 + i), uint8_t(i + 1), uint8_t(i + 1)));
        }
        m_frame->RepaintFrame();
    }
};

TEST_F(PanelAccessibleTest, TheFrameIsAWindowNamedByItsTitleWhoseChildrenPointBackAtIt) {
    QAccessibleInterface* f = Frame_();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->role(), QAccessible::Window);
    EXPECT_EQ(f->text(QAccessible::Name), QStringLiteral("nIVRA - v3.11"));
    ASSERT_GT(f->childCount(), 0);
    for (int i = 0; i < f->childCount(); ++i) {
        QAccessibleInterface* c = f->child(i);
        ASSERT_NE(c, nullptr) << i;
        EXPECT_EQ(f->indexOfChild(c), i);
        EXPECT_EQ(c->parent(), f);
        // Qt and AT-SPI address it by this id.
        EXPECT_EQ(QAccessible::accessibleInterface(QAccessible::uniqueId(c)), c);
        EXPECT_FALSE(c->state().invisible) << qPrintable(c->text(QAccessible::Name));
    }
    EXPECT_EQ(f->child(f->childCount()), nullptr);
    EXPECT_EQ(f->child(-1), nullptr);
}

// Role, name and state right after start-up (not connected).
struct ChildRow {
    const char* label;
    QAccessible::Role role;
    const char* name;
    bool disabled;
    bool checked;
};

class PanelAccessibleChildTest : public PanelAccessibleTest,
                                 public ::testing::WithParamInterface<ChildRow> {};

TEST_P(PanelAccessibleChildTest, IsOfferedOnceWithItsStateAfterStartUp) {
    const ChildRow& row = GetParam();
    QAccessibleInterface* c = Find(row.role, QString::fromUtf8(row.name));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(bool(c->state().disabled), row.disabled);
    EXPECT_EQ(bool(c->state().checked), row.checked);
}

INSTANTIATE_TEST_SUITE_P(
    NotConnected, PanelAccessibleChildTest,
    ::testing::Values(
        ChildRow{"SerialComSwitch", QAccessible::Button, "Serial COM", false, false},
        ChildRow{"PatternSwitch", QAccessible::Button, "Pattern", true, false},
        ChildRow{"RgbwSwitch", QAccessible::Button, "RGBW", true, false},
        ChildRow{"Exit", QAccessible::Button, "Exit", false, false},
        ChildRow{"HWReset", QAccessible::Button, "HW Reset", true, false},
        ChildRow{"Identify", QAccessible::Button, "Identify", true, false},
        ChildRow{"Setting", QAccessible::Button, "Setting", true, false},
        ChildRow{"Apply", QAccessible::Button, "Apply", true, false},
        ChildRow{"Set", QAccessible::Button, "Set", true, false},
        ChildRow{"VRateUp", QAccessible::Button, "Vertical Rate +", true, false},
        ChildRow{"VSyncDown", QAccessible::Button, "Vert Sync Width -", true, false},
        ChildRow{"Sync", QAccessible::CheckBox, "Device Setting Sync", true, true},
        ChildRow{"HPolPlus", QAccessible::RadioButton, "Horz Polarity Positive (+)", true, true},
        ChildRow{"HPolMinus", QAccessible::RadioButton, "Horz Polarity Positive (-)", true, false},
        ChildRow{"Colour10", QAccessible::RadioButton, "Color Depth 10 Bit", true, false},
        ChildRow{"AudioOff", QAccessible::RadioButton, "Audio Support Off", true, false},
        ChildRow{"Edid20", QAccessible::RadioButton, "EDID Version v2.0", true, false},
        ChildRow{"Width", QAccessible::SpinBox, "Width", true, false},
        ChildRow{"VRate", QAccessible::SpinBox, "Vertical Rate", true, false},
        ChildRow{"VSync", QAccessible::SpinBox, "Vert Sync Width", true, false},
        ChildRow{"Slider", QAccessible::Slider, "Output Resolution", true, false},
        ChildRow{"Title", QAccessible::StaticText, "nIVRA - v3.11", false, false},
        ChildRow{"Heading", QAccessible::StaticText, "Parameter -", true, false}),
    [](const ::testing::TestParamInfo<ChildRow>& info) { return info.param.label; });

TEST_F(PanelAccessibleTest, HiddenControlsAreNotOfferedUntilTheyShow) {
    EXPECT_TRUE(All(QAccessible::Button, QStringLiteral("SW Reset")).empty());
    // The device columns before a connect, under their initial text.
    EXPECT_TRUE(All(QAccessible::RadioButton, QStringLiteral("FW:30 COM:10 ID:20")).empty());
    const int before = Frame_()->childCount();

    ShowDeviceColumns(3);
    // A radio and a label for each column.
    EXPECT_EQ(Frame_()->childCount(), before + 6);
    QAccessibleInterface* second =
        Find(QAccessible::RadioButton, QStringLiteral("FW: 31 COM: 2 BoxID: 2"));
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->state().checked);
    ASSERT_NE(Find(QAccessible::StaticText, QStringLiteral("FW: 31 COM: 2 BoxID: 2")), nullptr);
    QAccessibleInterface* first =
        Find(QAccessible::RadioButton, QStringLiteral("FW: 30 COM: 1 BoxID: 1"));
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->state().checked);
}

TEST_F(PanelAccessibleTest, RectanglesAreOnTheScreenWhereTheControlIsDrawn) {
    m_frame->move(140, 70);
    QAccessibleInterface* apply = Find(QAccessible::Button, QStringLiteral("Apply"));
    ASSERT_NE(apply, nullptr);
    // Apply where it is drawn on the panel.
    const PanelGeometry::Rect at = PanelGeometry::kApply;
    const QPoint origin = m_frame->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(apply->rect(),
              QRect(origin + QPoint(at.left, at.top), QSize(at.width(), at.height())));
    const QPoint inside = apply->rect().center();
    EXPECT_EQ(Frame_()->childAt(inside.x(), inside.y()), apply);

    // The slider covers its bar and its thumb wherever the thumb rests.
    QAccessibleInterface* slider = Find(QAccessible::Slider, QStringLiteral("Output Resolution"));
    ASSERT_NE(slider, nullptr);
    // Thumb on tick 0, down to the bar's end.
    const PanelGeometry::Rect thumb = PanelGeometry::kSliderThumb;
    const int top = PanelGeometry::sliderStopTop(0);
    EXPECT_EQ(slider->rect(), QRect(origin + QPoint(thumb.left, top),
                                    QSize(thumb.width(), PanelGeometry::kSliderBar.bottom - top)));

    // Shown shrunk to a small screen, the control is where it is drawn: at half the size.
    m_frame->SetFitScale(0.5);
    const QPoint shrunk = m_frame->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(apply->rect(), QRect(shrunk + QPoint(540, 27), QSize(63, 17)));
    const QPoint insideShrunk = apply->rect().center();
    EXPECT_EQ(Frame_()->childAt(insideShrunk.x(), insideShrunk.y()), apply);
    m_frame->SetFitScale(1.0);
}

TEST_F(PanelAccessibleTest, NumberBoxesAndTheSliderReadTheirValuesAndBounds) {
    Enable();
    QAccessibleInterface* rate = Find(QAccessible::SpinBox, QStringLiteral("Vertical Rate"));
    ASSERT_NE(rate, nullptr);
    QAccessibleValueInterface* v = rate->valueInterface();
    ASSERT_NE(v, nullptr);
    // Placement puts the lowest rate in.
    EXPECT_EQ(v->currentValue().toInt(), 20);
    EXPECT_EQ(v->minimumValue().toInt(), 20);
    EXPECT_EQ(v->maximumValue().toInt(), 120);
    EXPECT_EQ(rate->text(QAccessible::Value), QStringLiteral("20"));
    EXPECT_TRUE(rate->state().editable);
    EXPECT_TRUE(rate->state().focusable);

    QAccessibleInterface* slider = Find(QAccessible::Slider, QStringLiteral("Output Resolution"));
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(slider->valueInterface(), nullptr);
    EXPECT_EQ(slider->valueInterface()->maximumValue().toInt(), 9);
    m_frame->m_hGUICtrlSliderRes.SetPos(3);
    EXPECT_EQ(slider->valueInterface()->currentValue().toInt(), 3);
    EXPECT_EQ(slider->text(QAccessible::Value), m_frame->m_hGUICtrlTextRes[3].m_strText);
    EXPECT_FALSE(slider->text(QAccessible::Value).isEmpty());
    // The user-defined stop reads as the two pixel boxes.
    m_frame->m_hGUICtrlEditBox[Frame::kEditHPixel].SetNumber(1920);
    m_frame->m_hGUICtrlEditBox[Frame::kEditVPixel].SetNumber(1080);
    m_frame->m_hGUICtrlSliderRes.SetPos(9);
    EXPECT_EQ(slider->text(QAccessible::Value), QStringLiteral("1920 x 1080"));
}

// An action and what the panel does with it, as a click would.
struct ActionRow {
    const char* label;
    QAccessible::Role role;
    const char* name;
    const char* action; // as QAccessibleActionInterface names it
    std::uint32_t msg;  // notification posted
    std::uintptr_t wParam;
};

class PanelAccessibleActionTest : public PanelAccessibleTest,
                                  public ::testing::WithParamInterface<ActionRow> {};

TEST_P(PanelAccessibleActionTest, PostsTheNotificationOfAClick) {
    const ActionRow& row = GetParam();
    Enable();
    QAccessibleInterface* c = Find(row.role, QString::fromUtf8(row.name));
    ASSERT_NE(c, nullptr);
    ASSERT_NE(c->actionInterface(), nullptr);
    EXPECT_TRUE(c->actionInterface()->actionNames().contains(QString::fromUtf8(row.action)));
    c->actionInterface()->doAction(QString::fromUtf8(row.action));
    // Posted, not yet handled: the handlers of these would talk to controllers.
    const auto posted = m_frame->m_vecMessages;
    EXPECT_TRUE(posted.empty()) << "notifications are queued, never called";
    Deliver();
    ASSERT_EQ(m_frame->Of(row.msg).size(), 1u);
    EXPECT_EQ(m_frame->Of(row.msg)[0].wParam, row.wParam);
}

INSTANTIATE_TEST_SUITE_P(
    Connected, PanelAccessibleActionTest,
    ::testing::Values(ActionRow{"SyncToggle", QAccessible::CheckBox, "Device Setting Sync",
                                "Toggle", FrameMsg::kChkBoxDevSettingSync, 0},
                      ActionRow{"EdidPress", QAccessible::RadioButton, "EDID Version v1.3",
                                "Toggle", FrameMsg::kRdoEdidVersion, 2},
                      ActionRow{"VBlankUp", QAccessible::Button, "Vert Blank +", "Press",
                                FrameMsg::kBtnAdjustFirst + 8, 15},
                      ActionRow{"VRateIncrease", QAccessible::SpinBox, "Vertical Rate", "Increase",
                                FrameMsg::kBtnAdjustFirst + 0, 7},
                      ActionRow{"HOffsetDecrease", QAccessible::SpinBox, "Horz Offset", "Decrease",
                                FrameMsg::kBtnAdjustFirst + 5, 12},
                      ActionRow{"SliderIncrease", QAccessible::Slider, "Output Resolution",
                                "Increase", FrameMsg::kSliderResolution, 0}),
    [](const ::testing::TestParamInfo<ActionRow>& info) { return info.param.label; });

TEST_F(PanelAccessibleTest, ActionsChangeThePanelAsClicksDo) {
    Enable();
    QAccessibleInterface* rate = Find(QAccessible::SpinBox, QStringLiteral("Vertical Rate"));
    ASSERT_NE(rate, nullptr);
    rate->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    Deliver();
    EXPECT_EQ(rate->valueInterface()->currentValue().toInt(), 21);
    rate->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    rate->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    Deliver();
    EXPECT_EQ(rate->valueInterface()->currentValue().toInt(), 20) << "held at its lowest";

    QAccessibleInterface* edid =
        Find(QAccessible::RadioButton, QStringLiteral("EDID Version v1.3"));
    ASSERT_NE(edid, nullptr);
    edid->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    Deliver();
    EXPECT_TRUE(edid->state().checked);
    EXPECT_FALSE(
        Find(QAccessible::RadioButton, QStringLiteral("EDID Version v1.1"))->state().checked);

    QAccessibleInterface* slider = Find(QAccessible::Slider, QStringLiteral("Output Resolution"));
    ASSERT_NE(slider, nullptr);
    slider->valueInterface()->setCurrentValue(6);
    Deliver();
    EXPECT_EQ(m_frame->m_hGUICtrlSliderRes.GetPos(), 6);
    EXPECT_EQ(m_frame->m_hCurRZ8Full.hRZ8Data.I_output_mode, 6) << "the handler took it";

    QAccessibleInterface* width = Find(QAccessible::SpinBox, QStringLiteral("Width"));
    ASSERT_NE(width, nullptr);
    width->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_TRUE(width->state().focused);
    EXPECT_EQ(Frame_()->focusChild(), width);
}

TEST_F(PanelAccessibleTest, ActionsAreRefusedWhereAClickIs) {
    // Not connected: Apply and the check box are disabled.
    QAccessibleInterface* apply = Find(QAccessible::Button, QStringLiteral("Apply"));
    ASSERT_NE(apply, nullptr);
    apply->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QAccessibleInterface* sync = Find(QAccessible::CheckBox, QStringLiteral("Device Setting Sync"));
    ASSERT_NE(sync, nullptr);
    sync->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    Deliver();
    EXPECT_TRUE(m_frame->m_vecMessages.empty());
    EXPECT_TRUE(sync->state().checked);

    // Shaded: nothing reaches the controls.
    Enable();
    m_frame->m_nShadeMode = Frame::kShadePure;
    sync->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    Find(QAccessible::Slider, QStringLiteral("Output Resolution"))
        ->valueInterface()
        ->setCurrentValue(4);
    Deliver();
    EXPECT_TRUE(m_frame->m_vecMessages.empty());
    EXPECT_TRUE(sync->state().checked);
    EXPECT_NE(m_frame->m_hGUICtrlSliderRes.GetPos(), 4);
}

TEST_F(PanelAccessibleTest, AValueSetOnANumberBoxIsTakenOnlyWhenItCanBeTyped) {
    Enable();
    QAccessibleInterface* rate = Find(QAccessible::SpinBox, QStringLiteral("Vertical Rate"));
    ASSERT_NE(rate, nullptr);
    QAccessibleValueInterface* v = rate->valueInterface();
    v->setCurrentValue(75);
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditVRate].GetText(), QStringLiteral("75"));
    // Longer than the box's five characters, negative, not a number: nothing changes.
    for (const QVariant& bad : {QVariant(123456), QVariant(-1), QVariant(QStringLiteral("fast"))}) {
        v->setCurrentValue(bad);
        EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditVRate].GetText(), QStringLiteral("75"))
            << qPrintable(bad.toString());
    }
    m_frame->EnableAllCtrl(false);
    v->setCurrentValue(60);
    EXPECT_EQ(m_frame->m_hGUICtrlEditBox[Frame::kEditVRate].GetText(), QStringLiteral("75"))
        << "a disabled box takes nothing";
}

TEST_F(PanelAccessibleTest, StateChangesAreNotifiedOneFlagAtATime) {
    Enable();
    // A click toggles the check box; its handler repaints.
    const QPoint box = Centre(m_frame->m_hGUICtrlChkBox[0].m_rcCtrl);
    Press(box.x(), box.y());
    Deliver();
    const auto checked =
        AccessibleEventLog::Of(QAccessible::StateChanged, QStringLiteral("Device Setting Sync"));
    ASSERT_EQ(checked.size(), 1u);
    EXPECT_TRUE(checked[0].changed.checked);
    EXPECT_FALSE(checked[0].changed.disabled);

    // Disconnected again: every control but Exit and the switch is disabled.
    AccessibleEventLog::Clear();
    m_frame->EnableAllCtrl(false);
    m_frame->RepaintFrame();
    const auto apply = AccessibleEventLog::Of(QAccessible::StateChanged, QStringLiteral("Apply"));
    ASSERT_EQ(apply.size(), 1u);
    EXPECT_TRUE(apply[0].changed.disabled);
    EXPECT_TRUE(AccessibleEventLog::Of(QAccessible::StateChanged, QStringLiteral("Exit")).empty());
    EXPECT_TRUE(
        AccessibleEventLog::Of(QAccessible::StateChanged, QStringLiteral("Serial COM")).empty());

    // Nothing changed, nothing sent.
    AccessibleEventLog::Clear();
    m_frame->RepaintFrame();
    EXPECT_TRUE(AccessibleEventLog::Events().empty());
}

TEST_F(PanelAccessibleTest, ValueFocusNameAndMembershipChangesAreNotified) {
    Enable();
    // The + button's handler steps the box.
    const QPoint up = Centre(m_frame->m_hGUICtrlBtn[Frame::kFirstAdjusterBtn].m_rcCtrl);
    Press(up.x(), up.y());
    m_frame->GetMouseRouter().OnLButtonUp(up.x(), up.y());
    Deliver();
    const auto value =
        AccessibleEventLog::Of(QAccessible::ValueChanged, QStringLiteral("Vertical Rate"));
    ASSERT_EQ(value.size(), 1u);
    EXPECT_EQ(value[0].value.toInt(), 21);

    AccessibleEventLog::Clear();
    const QPoint box = Centre(m_frame->m_hGUICtrlEditBox[Frame::kEditHBlank].m_rcCtrl);
    Press(box.x(), box.y());
    EXPECT_EQ(AccessibleEventLog::Of(QAccessible::Focus, QStringLiteral("Horz Blank")).size(), 1u);
    const auto focused =
        AccessibleEventLog::Of(QAccessible::StateChanged, QStringLiteral("Horz Blank"));
    ASSERT_EQ(focused.size(), 1u);
    EXPECT_TRUE(focused[0].changed.focused);

    AccessibleEventLog::Clear();
    ShowDeviceColumns(1);
    const QString column = QStringLiteral("FW: 30 COM: 1 BoxID: 1");
    EXPECT_EQ(AccessibleEventLog::Of(QAccessible::ObjectCreated, column).size(), 2u)
        << "the device button and its label join the children";
    EXPECT_EQ(AccessibleEventLog::Of(QAccessible::ObjectShow, column).size(), 2u);

    // A new box ID renames the column's button.
    AccessibleEventLog::Clear();
    m_frame->m_hGUICtrlTextDevBox[0].SetText(FormatDeviceBoxText(30, 1, 7));
    m_frame->RepaintFrame();
    EXPECT_EQ(
        AccessibleEventLog::Of(QAccessible::NameChanged, QStringLiteral("FW: 30 COM: 1 BoxID: 7"))
            .size(),
        2u);

    AccessibleEventLog::Clear();
    m_frame->m_hGUICtrlRdoBtnDevBox[0].SetVisible(false);
    m_frame->RepaintFrame();
    EXPECT_EQ(
        AccessibleEventLog::Of(QAccessible::ObjectHide, QStringLiteral("FW: 30 COM: 1 BoxID: 7"))
            .size(),
        1u)
        << "only the button hides; its label stays";
}

} // namespace
