#include "GUIGDIPlusMfcCtrlText.h"

#include "GUIGDIPlusMfcPainter.h"

void CGUIGDIPlusMfcCtrlText::Draw(QPaintDevice* pDC) const {
    if (!m_bVisible || pDC == nullptr) return;
    const GUIColorRef clr = m_bDisabled ? kDisabledColor : m_clrText;
    DrawSkinText(pDC, m_strText, AbsRectF(m_rcCtrl), m_strFace, m_uSize, m_bBold, m_bItalic,
                 BrushColor(clr, m_byAlpha), m_iAngle, m_iAlign);
}
