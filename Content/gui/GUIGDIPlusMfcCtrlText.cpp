#include "GUIGDIPlusMfcCtrlText.h"

#include "GUIGDIPlusMfcPainter.h"

#include <QRectF>

void CGUIGDIPlusMfcCtrlText::Draw(QPaintDevice* pDC) const {
    if (!m_bVisible || pDC == nullptr) return;
    const QRectF layout(m_rcCtrl.left, m_rcCtrl.top, m_rcCtrl.AbsWidth(), m_rcCtrl.AbsHeight());
    const GUIColorRef clr = m_bDisabled ? kDisabledColor : m_clrText;
    DrawSkinText(pDC, m_strText, layout, m_strFace, m_uSize, m_bBold, m_bItalic,
                 BrushColor(clr, m_byAlpha), m_iAngle, m_iAlign);
}
