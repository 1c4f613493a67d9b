#pragma once
// Two-state image panel (frame 0 enabled look, frame 1 disabled look), e.g. the shades.
#include "GUITypes.h"
#include "SkinImage.h"

#include <QString>

class QPaintDevice;

class CGUIGDIPlusMfcCtrlImage {
public:
    QString m_strImagePath;
    GUIRect m_rcCtrl;
    bool m_bVisible = false;
    SkinImagePtr m_pImage; // owned
    int m_iState = 0;      // 0 enabled look, 1 disabled look

    CGUIGDIPlusMfcCtrlImage() = default;
    CGUIGDIPlusMfcCtrlImage(const CGUIGDIPlusMfcCtrlImage&) = delete;
    CGUIGDIPlusMfcCtrlImage& operator=(const CGUIGDIPlusMfcCtrlImage&) = delete;

    // Copies path, rectangle, visibility and state; an image already held is kept
    // (a descriptor never carries one).
    void CopyFrom(const CGUIGDIPlusMfcCtrlImage& desc);
    // False when an image is already held; true when the file gives an image of
    // nonzero width.
    bool LoadImage();
    void FreeImage() { m_pImage.reset(); }
    void SetEnable(bool enable) { m_iState = enable ? 0 : 1; }
    void SetVisible(bool visible) { m_bVisible = visible; }
    bool IsVisible() const { return m_bVisible; }

    void Draw(QPaintDevice* pDC) const;
};
