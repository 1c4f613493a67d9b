#pragma once
// Text label of a skinned panel: a plain record copied from a descriptor.
#include "GUITypes.h"

#include <QString>

class QPaintDevice;

class CGUIGDIPlusMfcCtrlText {
public:
    QString m_strText;
    GUIRect m_rcCtrl;
    QString m_strFace;    // font face; a missing face draws in "Arial"
    unsigned m_uSize = 0; // pixels
    bool m_bBold = false;
    bool m_bItalic = false;
    int m_iAlign = 0; // 0 left, 1 centre, 2 right, other: left
    GUIColorRef m_clrText = 0;
    int m_iAngle = 0; // degrees, about the surface origin
    unsigned char m_byAlpha = 0;
    bool m_bVisible = false;
    bool m_bDisabled = false; // drawn in grey 0x969696

    // Grey used for a disabled label.
    static constexpr GUIColorRef kDisabledColor = 0x969696;

    void CopyFrom(const CGUIGDIPlusMfcCtrlText& desc) { *this = desc; }
    void SetText(const QString& text) { m_strText = text; }
    void SetRect(int left, int top, int right, int bottom) {
        m_rcCtrl = GUIRect{left, top, right, bottom};
    }
    void SetVisible(bool visible) { m_bVisible = visible; }
    void SetEnable(bool enable) { m_bDisabled = !enable; }
    bool IsVisible() const { return m_bVisible; }

    void Draw(QPaintDevice* pDC) const;
};
