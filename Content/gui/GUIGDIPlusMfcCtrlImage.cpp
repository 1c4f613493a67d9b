#include "GUIGDIPlusMfcCtrlImage.h"

namespace {
constexpr int kImageFrames = 2;
}

void CGUIGDIPlusMfcCtrlImage::CopyFrom(const CGUIGDIPlusMfcCtrlImage& desc) {
    m_strImagePath = desc.m_strImagePath;
    m_rcCtrl = desc.m_rcCtrl;
    m_bVisible = desc.m_bVisible;
    m_iState = desc.m_iState;
}

bool CGUIGDIPlusMfcCtrlImage::LoadImage() {
    if (m_pImage) return false;
    m_pImage = LoadSkinImageFile(m_strImagePath);
    return SkinImageUsable(m_pImage.get());
}

void CGUIGDIPlusMfcCtrlImage::Draw(QPaintDevice* pDC) const {
    if (!m_bVisible) return;
    DrawSkinFrame(pDC, m_pImage.get(), m_iState, kImageFrames, m_rcCtrl);
}
