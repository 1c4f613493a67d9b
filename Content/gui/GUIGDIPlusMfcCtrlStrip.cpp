#include "GUIGDIPlusMfcCtrlStrip.h"

void CGUIGDIPlusMfcCtrlStrip::CopyStripFrom(const CGUIGDIPlusMfcCtrlStrip& desc) {
    m_strImagePath = desc.m_strImagePath;
    m_strExtra = desc.m_strExtra;
    m_rcCtrl = desc.m_rcCtrl;
    m_bVisible = desc.m_bVisible;
    m_iSpare = desc.m_iSpare;
    m_bBusy = desc.m_bBusy;
    m_uMsg = desc.m_uMsg;
    m_iState = desc.m_iState;
}

bool CGUIGDIPlusMfcCtrlStrip::LoadImageFrom(int resId, const QString& resType) {
    if (m_pImage) return false;
    m_pImage = LoadSkinImage(resId, resType, m_strImagePath);
    return HasImage();
}

bool CGUIGDIPlusMfcCtrlStrip::LoadImage() {
    return LoadImageFrom(0, QString());
}

void CGUIGDIPlusMfcCtrlStrip::Draw(QPaintDevice* pDC) {
    if (!IsVisible()) return;
    DrawSkinFrame(pDC, m_pImage.get(), m_iState, kFrames, m_rcCtrl);
}

void CGUIGDIPlusMfcCtrlCheckable::SetEnable(bool enable) {
    if (enable)
        m_iState = m_iState == kOnDisabled ? kOn : kOff;
    else
        m_iState = m_iState == kOn ? kOnDisabled : kOffDisabled;
}

void CGUIGDIPlusMfcCtrlCheckable::SetCheck(bool check) {
    if (!IsEnabled()) return;
    m_iState = check ? kOn : kOff;
}

bool CGUIGDIPlusMfcCtrlCheckable::HitHover(int x, int y) {
    return IsVisible() && IsInside(x, y) && IsEnabled();
}

bool CGUIGDIPlusMfcCtrlCheckable::Toggle(int x, int y) {
    if (!IsVisible() || !IsInside(x, y) || !IsEnabled()) return false;
    m_iState = m_iState == kOff ? kOn : kOff;
    return true;
}
