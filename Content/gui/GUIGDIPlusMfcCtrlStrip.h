#pragma once
// The shape shared by the windowless controls drawn from a 4-frame skin strip: a record
// copied from a descriptor, an owned image, a rectangle, a visibility flag, a busy latch,
// a notification number and a state that is the frame index drawn.
#include "GUIGDIPlusMfcCtrl.h"
#include "GUITypes.h"
#include "SkinImage.h"

#include <QString>

#include <cstdint>

class CGUIGDIPlusMfcCtrlStrip : public IGUIGDIPlusMfcCtrl {
public:
    static constexpr int kFrames = 4;

    QString m_strImagePath; // full path of the 4-frame skin image
    QString m_strExtra;     // spare, always empty
    GUIRect m_rcCtrl;       // (left, top, right, bottom) on the frame
    SkinImagePtr m_pImage;  // owned; none until LoadImage
    bool m_bVisible = true; // hidden controls are neither drawn nor hit
    int m_iSpare = 0;       // copied with the record, not otherwise used
    bool m_bBusy = false;   // from posting a notification until its handler clears it
    std::uint32_t m_uMsg = 0;
    int m_iState = 0; // frame index of the strip

    CGUIGDIPlusMfcCtrlStrip() = default;
    CGUIGDIPlusMfcCtrlStrip(const CGUIGDIPlusMfcCtrlStrip&) = delete;
    CGUIGDIPlusMfcCtrlStrip& operator=(const CGUIGDIPlusMfcCtrlStrip&) = delete;

    // From the file at m_strImagePath. False when an image is already held (it is kept);
    // true when the file gives an image of nonzero width.
    virtual bool LoadImage();
    void FreeImage() { m_pImage.reset(); }
    bool HasImage() const { return SkinImageUsable(m_pImage.get()); }

    // Frame m_iState stretched into the absolute rectangle; nothing without a device, a
    // usable image, or when hidden.
    void Draw(QPaintDevice* pDC) override;

    void SetVisible(bool visible) { m_bVisible = visible; }
    bool IsVisible() const override { return m_bVisible; }
    void SetBusy(bool busy) override { m_bBusy = busy; }
    bool GetBusy() const override { return m_bBusy; }
    std::uint32_t GetMsg() const override { return m_uMsg; }
    int GetState() const { return m_iState; }
    // Left and top edges inside, right and bottom edges outside.
    bool IsInside(int x, int y) const { return m_rcCtrl.Contains(x, y); }

protected:
    // Every field but the image: a descriptor never carries one, and an image already
    // held stays with its control.
    void CopyStripFrom(const CGUIGDIPlusMfcCtrlStrip& desc);
    bool LoadImageFrom(int resId, const QString& resType);
};

// Switch, check box and radio button: 0 off, 1 on, 2 off and disabled, 3 on and disabled.
// Disabling remembers the position; enabling keeps only an "on" that was disabled.
class CGUIGDIPlusMfcCtrlCheckable : public CGUIGDIPlusMfcCtrlStrip {
public:
    enum { kOff = 0, kOn = 1, kOffDisabled = 2, kOnDisabled = 3 };

    // flag: 3 -> 1, anything else -> 0; !flag: 1 -> 3, anything else -> 2.
    void SetEnable(bool enable);
    bool IsEnabled() const { return m_iState == kOff || m_iState == kOn; }
    bool GetCheck() const { return m_iState == kOn || m_iState == kOnDisabled; }
    // Only while enabled; a disabled control keeps its state.
    void SetCheck(bool check);
    // Visible, inside and enabled; no change of state.
    bool HitHover(int x, int y) override;

protected:
    // Press that flips an enabled, visible control: true when it toggled.
    bool Toggle(int x, int y);
};
