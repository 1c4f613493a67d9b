#include "GUIGDIPlusMfcCtrlBtn.h"

void CGUIGDIPlusMfcCtrlBtn::CopyFrom(const CGUIGDIPlusMfcCtrlBtn& desc) {
    CopyStripFrom(desc);
    m_iResID = desc.m_iResID;
}

bool CGUIGDIPlusMfcCtrlBtn::LoadImage() {
    return LoadImageFrom(m_iResID, QStringLiteral("PNG"));
}

bool CGUIGDIPlusMfcCtrlBtn::HitDown(int x, int y) {
    if (!m_bVisible || !IsInside(x, y) || !IsEnabled()) return false;
    m_iState = kPressed;
    return true;
}

bool CGUIGDIPlusMfcCtrlBtn::HitUp(int x, int y) {
    (void)x;
    (void)y;
    if (!m_bVisible || !IsEnabled() || m_iState != kPressed) return false;
    m_iState = kNormal;
    return true;
}

bool CGUIGDIPlusMfcCtrlBtn::HitHover(int x, int y) {
    return m_bVisible && IsInside(x, y) && IsEnabled();
}
