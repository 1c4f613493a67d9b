#pragma once
// Small text or number field that takes the keyboard while focused. It posts nothing:
// the frame reads its text or number when it needs it.
//   state 0 normal, 1 pointer over it, 2 focused (typing goes here), 3 disabled
#include "GUIGDIPlusMfcCtrlStrip.h"

#include <QChar>

class QKeyEvent;

class CGUIGDIPlusMfcCtrlEditBox : public CGUIGDIPlusMfcCtrlStrip {
public:
    enum { kNormal = 0, kHover = 1, kFocused = 2, kDisabled = 3 };
    enum { kModeText = 0, kModeNumber = 1 };
    // The character Ctrl+V produces; never kept at the end of the text.
    static constexpr char16_t kPasteChar = 0x16;

    QString m_strText;
    GUIColorRef m_clrText = 0;         // while enabled
    GUIColorRef m_clrTextDisabled = 0; // while disabled
    unsigned m_uFontSize = 0;          // pixels
    int m_iMax = 0;                    // bound for the frame's + button, not enforced here
    int m_iMin = 0;                    // bound for the frame's - button, not enforced here
    int m_iMaxLen = 0;                 // typing stops at this many characters
    bool m_bReadOnly = false;          // cannot take the focus
    int m_iMode = kModeNumber;

    CGUIGDIPlusMfcCtrlEditBox() { m_bVisible = false; }

    // All fields but the image; a number-mode box then shows "0".
    void CopyFrom(const CGUIGDIPlusMfcCtrlEditBox& desc);

    // The strip's frame, then the text in "Arial" from 2 pixels below the top, left
    // aligned; no caret (the focused look is the skin's frame 2).
    void Draw(QPaintDevice* pDC) override;

    void SetEnable(bool enable) { m_iState = enable ? kNormal : kDisabled; }
    bool IsEnabled() const { return m_iState != kDisabled; }
    bool IsFocused() const { return m_iState == kFocused; }

    // Visible, inside, enabled and writable: focused, true.
    bool HitDown(int x, int y) override;
    // Unless disabled or showing the hover look: focused when focus, else normal.
    void SetFocusState(bool focus) override;
    // Inside: hover look unless disabled or focused; true unless disabled. Outside:
    // normal look unless disabled or focused; false.
    bool HitHover(int x, int y) override;

    // Stores the text without a trailing U+0016.
    void SetText(const QString& text);
    QString GetText() const { return m_strText; }
    void SetNumber(int n);
    // Decimal integer after optional blanks and sign, up to the first other character;
    // 0 when there is none. Values beyond int saturate.
    int GetNumber() const;

    // A key press as the frame receives it: the key-down part first; if that did not
    // consume it, its characters. True when the box consumed the event.
    bool OnKey(const QKeyEvent& event);
    // The two halves of a key press. ctrl: the Control key is held.
    bool OnKeyDown(int qtKey, bool ctrl);
    bool OnChar(QChar ch);
};
