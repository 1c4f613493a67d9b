// Keyboard handling of the edit box in number and text mode, including Ctrl+V from the
// clipboard and the U+0016 that Ctrl+V produces as a character.
#include "GUIGDIPlusMfcCtrlEditBox.h"
#include "GuiTestApp.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace {

const QString kPaste = QString(QChar(0x16));

struct KeyCase {
    const char* name;
    int mode;
    const char* before;
    int maxLen;
    Qt::Key key;
    bool ctrl;
    QString text; // the characters the key press carries
    const char* clipboard;
    const char* after;
    bool consumed;
};

class GuiCtlEditKeys : public ::testing::TestWithParam<KeyCase> {
protected:
    void SetUp() override { EnsureGuiApp(); }
};

TEST_P(GuiCtlEditKeys, TextAndConsumption) {
    const KeyCase& c = GetParam();
    QGuiApplication::clipboard()->setText(QString::fromUtf8(c.clipboard));
    CGUIGDIPlusMfcCtrlEditBox box;
    box.m_iMode = c.mode;
    box.m_iMaxLen = c.maxLen;
    box.SetText(QString::fromUtf8(c.before));
    box.m_iState = CGUIGDIPlusMfcCtrlEditBox::kFocused;

    const QKeyEvent ev(QEvent::KeyPress, c.key, c.ctrl ? Qt::ControlModifier : Qt::NoModifier,
                       c.text);
    EXPECT_EQ(box.OnKey(ev), c.consumed);
    EXPECT_EQ(box.GetText(), QString::fromUtf8(c.after));
}

constexpr int kNum = CGUIGDIPlusMfcCtrlEditBox::kModeNumber;
constexpr int kText = CGUIGDIPlusMfcCtrlEditBox::kModeText;

INSTANTIATE_TEST_SUITE_P(
    NumberMode, GuiCtlEditKeys,
    ::testing::Values(
        KeyCase{"ZeroIsReplacedByDigit", kNum, "0", 5, Qt::Key_7, false, "7", "", "7", true},
        KeyCase{"DigitAppended", kNum, "7", 5, Qt::Key_5, false, "5", "", "75", true},
        KeyCase{"ZeroOnZeroStaysZero", kNum, "0", 5, Qt::Key_0, false, "0", "", "0", true},
        KeyCase{"SixthDigitRefused", kNum, "12345", 5, Qt::Key_6, false, "6", "", "12345", false},
        KeyCase{"NegativeValueExtended", kNum, "-5", 5, Qt::Key_3, false, "3", "", "-53", true},
        KeyCase{"LetterIgnored", kNum, "12", 5, Qt::Key_A, false, "a", "", "12", false},
        KeyCase{"MinusIgnored", kNum, "12", 5, Qt::Key_Minus, false, "-", "", "12", false},
        KeyCase{"BackspaceOnOneCharGivesZero", kNum, "7", 5, Qt::Key_Backspace, false, "\b", "",
                "0", true},
        KeyCase{"BackspaceOnEmptyGivesZero", kNum, "", 5, Qt::Key_Backspace, false, "\b", "", "0",
                true},
        KeyCase{"BackspaceDropsLastDigit", kNum, "75", 5, Qt::Key_Backspace, false, "\b", "", "7",
                true},
        KeyCase{"BackspaceOnValueZeroDoesNothing", kNum, "00", 5, Qt::Key_Backspace, false, "\b",
                "", "00", true},
        KeyCase{"DeleteGivesZero", kNum, "123", 5, Qt::Key_Delete, false, "\x7f", "", "0", true},
        KeyCase{"EnterConsumed", kNum, "12", 5, Qt::Key_Return, false, "\r", "", "12", true},
        KeyCase{"KeypadEnterConsumed", kNum, "12", 5, Qt::Key_Enter, false, "\r", "", "12", true},
        KeyCase{"EscapeConsumed", kNum, "12", 5, Qt::Key_Escape, false, "\x1b", "", "12", true},
        KeyCase{"CtrlVDoesNothing", kNum, "12", 5, Qt::Key_V, true, kPaste, "999", "12", false},
        KeyCase{"ArrowNotConsumed", kNum, "12", 5, Qt::Key_Left, false, "", "", "12", false}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    TextMode, GuiCtlEditKeys,
    ::testing::Values(
        KeyCase{"CharAppended", kText, "ab", 8, Qt::Key_C, false, "c", "", "abc", true},
        KeyCase{"CharRefusedWhenFull", kText, "abcdefgh", 8, Qt::Key_X, false, "x", "", "abcdefgh",
                false},
        KeyCase{"DigitIsJustText", kText, "0", 8, Qt::Key_7, false, "7", "", "07", true},
        KeyCase{"PlainVTyped", kText, "ab", 8, Qt::Key_V, false, "v", "clip", "abv", true},
        KeyCase{"BackspaceDropsLast", kText, "abc", 8, Qt::Key_Backspace, false, "\b", "", "ab",
                true},
        KeyCase{"BackspaceOnEmpty", kText, "", 8, Qt::Key_Backspace, false, "\b", "", "", true},
        KeyCase{"DeleteClears", kText, "abc", 8, Qt::Key_Delete, false, "\x7f", "", "", true},
        KeyCase{"EnterConsumed", kText, "abc", 8, Qt::Key_Return, false, "\r", "", "abc", true},
        KeyCase{"EscapeConsumed", kText, "abc", 8, Qt::Key_Escape, false, "\x1b", "", "abc", true},
        // Ctrl+V: the clipboard replaces the text, then its U+0016 character is
        // appended and stripped again.
        KeyCase{"CtrlVPastes", kText, "abc", 8, Qt::Key_V, true, kPaste, "hello", "hello", true},
        KeyCase{"CtrlVIgnoresMaxLen", kText, "abc", 8, Qt::Key_V, true, kPaste, "0123456789AB",
                "0123456789AB", false},
        KeyCase{"CtrlVEmptyClipboard", kText, "abc", 8, Qt::Key_V, true, kPaste, "", "", true},
        KeyCase{"CtrlVWithoutCharacter", kText, "abc", 8, Qt::Key_V, true, "", "xy", "xy", false},
        KeyCase{"CtrlBackspaceIsBackspace", kText, "abc", 8, Qt::Key_Backspace, true, "\b", "",
                "ab", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GuiCtlEditKeysGate, UnfocusedOrReadOnlyBoxTakesNoKeys) {
    EnsureGuiApp();
    for (int mode : {kNum, kText}) {
        CGUIGDIPlusMfcCtrlEditBox box;
        box.m_iMode = mode;
        box.m_iMaxLen = 5;
        box.SetText("1");
        for (int state : {0, 1, 3}) {
            box.m_iState = state;
            EXPECT_FALSE(box.OnKey(QKeyEvent(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, "2")));
            EXPECT_FALSE(box.OnKey(QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier)));
        }
        box.m_iState = CGUIGDIPlusMfcCtrlEditBox::kFocused;
        box.m_bReadOnly = true;
        EXPECT_FALSE(box.OnKey(QKeyEvent(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, "2")));
        EXPECT_FALSE(box.OnKey(QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier)));
        EXPECT_EQ(box.GetText(), "1");
    }
}

TEST(GuiCtlEditKeysGate, KeyReleaseIsNotAKey) {
    // A key event needs the application: without one Qt makes a keyboard device nobody owns.
    EnsureGuiApp();
    CGUIGDIPlusMfcCtrlEditBox box;
    box.m_iMaxLen = 5;
    box.m_iState = CGUIGDIPlusMfcCtrlEditBox::kFocused;
    EXPECT_FALSE(box.OnKey(QKeyEvent(QEvent::KeyRelease, Qt::Key_7, Qt::NoModifier, "7")));
    EXPECT_EQ(box.GetText(), "");
}

TEST(GuiCtlEditPasteChar, TrailingPasteCharacterIsStripped) {
    CGUIGDIPlusMfcCtrlEditBox box;
    box.SetText("ab" + kPaste);
    EXPECT_EQ(box.GetText(), "ab");
    box.SetText(kPaste + "ab"); // only a trailing one goes
    EXPECT_EQ(box.GetText(), kPaste + "ab");

    box.m_iMode = kText;
    box.m_iMaxLen = 8;
    box.m_iState = CGUIGDIPlusMfcCtrlEditBox::kFocused;
    box.SetText("ab");
    EXPECT_TRUE(box.OnChar(QChar(0x16)));
    EXPECT_EQ(box.GetText(), "ab");
}

struct NumberCase {
    const char* name;
    const char* text;
    int value;
};

class GuiCtlEditNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(GuiCtlEditNumber, ReadsLeadingDecimal) {
    CGUIGDIPlusMfcCtrlEditBox box;
    box.SetText(GetParam().text);
    EXPECT_EQ(box.GetNumber(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GuiCtlEditNumber,
    ::testing::Values(NumberCase{"Plain", "75", 75}, NumberCase{"LeadingZeros", "0012", 12},
                      NumberCase{"LeadingBlanks", "  \t42", 42}, NumberCase{"Negative", "-17", -17},
                      NumberCase{"PlusSign", "+8", 8}, NumberCase{"StopsAtLetter", "12ab3", 12},
                      NumberCase{"NoDigits", "abc", 0}, NumberCase{"Empty", "", 0},
                      NumberCase{"BlankAfterSign", "- 5", 0},
                      NumberCase{"SaturatesHigh", "99999999999", INT_MAX},
                      NumberCase{"SaturatesLow", "-99999999999", INT_MIN}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GuiCtlEditSetNumber, FormatsDecimal) {
    CGUIGDIPlusMfcCtrlEditBox box;
    box.SetNumber(-42);
    EXPECT_EQ(box.GetText(), "-42");
    box.SetNumber(70000);
    EXPECT_EQ(box.GetNumber(), 70000);
}

} // namespace
