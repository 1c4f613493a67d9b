#include "GUIGDIPlusMfcCtrlEditBox.h"

#include "GUIGDIPlusMfcPainter.h"

#include <QClipboard>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>

#include <climits>

namespace {
constexpr int kTextTopInset = 2;
constexpr unsigned kTextAlpha = 254;
} // namespace

void CGUIGDIPlusMfcCtrlEditBox::CopyFrom(const CGUIGDIPlusMfcCtrlEditBox& desc) {
    CopyStripFrom(desc);
    m_strText = desc.m_strText;
    m_clrText = desc.m_clrText;
    m_clrTextDisabled = desc.m_clrTextDisabled;
    m_uFontSize = desc.m_uFontSize;
    m_iMax = desc.m_iMax;
    m_iMin = desc.m_iMin;
    m_iMaxLen = desc.m_iMaxLen;
    m_bReadOnly = desc.m_bReadOnly;
    m_iMode = desc.m_iMode;
    if (m_iMode == kModeNumber) m_strText = QStringLiteral("0");
}

void CGUIGDIPlusMfcCtrlEditBox::Draw(QPaintDevice* pDC) {
    if (pDC == nullptr || !m_bVisible || !HasImage()) return;
    CGUIGDIPlusMfcCtrlStrip::Draw(pDC);
    if (m_strText.isEmpty() || m_uFontSize == 0) return;

    QPainter painter(pDC);
    if (!painter.isActive()) return;
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(static_cast<int>(m_uFontSize));
    painter.setFont(font);
    const GUIColorRef clr = m_iState == kDisabled ? m_clrTextDisabled : m_clrText;
    painter.setPen(ColorFromRef(clr, kTextAlpha));
    const QRectF layout = AbsRectF(m_rcCtrl).translated(0, kTextTopInset);
    painter.setClipRect(layout);
    painter.drawText(layout, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_strText);
}

bool CGUIGDIPlusMfcCtrlEditBox::HitDown(int x, int y) {
    if (!m_bVisible || !IsInside(x, y) || !IsEnabled() || m_bReadOnly) return false;
    m_iState = kFocused;
    return true;
}

void CGUIGDIPlusMfcCtrlEditBox::SetFocusState(bool focus) {
    if (m_iState == kDisabled || m_iState == kHover) return;
    m_iState = focus ? kFocused : kNormal;
}

bool CGUIGDIPlusMfcCtrlEditBox::HitHover(int x, int y) {
    if (m_bVisible && IsInside(x, y)) {
        if (!IsEnabled()) return false;
        if (m_iState != kFocused) m_iState = kHover;
        return true;
    }
    if (IsEnabled() && m_iState != kFocused) m_iState = kNormal;
    return false;
}

void CGUIGDIPlusMfcCtrlEditBox::SetText(const QString& text) {
    m_strText = text;
    if (m_strText.endsWith(QChar(kPasteChar))) m_strText.chop(1);
}

void CGUIGDIPlusMfcCtrlEditBox::SetNumber(int n) {
    m_strText = QString::number(n);
}

int CGUIGDIPlusMfcCtrlEditBox::GetNumber() const {
    qsizetype i = 0;
    const qsizetype n = m_strText.size();
    while (i < n && m_strText.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < n && (m_strText.at(i) == u'+' || m_strText.at(i) == u'-')) {
        negative = m_strText.at(i) == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < n; ++i) {
        const char16_t c = m_strText.at(i).unicode();
        if (c < u'0' || c > u'9') break;
        value = value * 10 + (c - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

bool CGUIGDIPlusMfcCtrlEditBox::OnKey(const QKeyEvent& event) {
    if (event.type() != QEvent::KeyPress) return false;
    const bool ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    if (OnKeyDown(event.key(), ctrl)) return true;
    // Not consumed: the key's characters arrive as they would after translation.
    bool consumed = false;
    for (const QChar ch : event.text())
        consumed = OnChar(ch) || consumed;
    return consumed;
}

bool CGUIGDIPlusMfcCtrlEditBox::OnKeyDown(int qtKey, bool ctrl) {
    if (!IsFocused() || m_bReadOnly) return false;
    const bool enter = qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter;
    if (m_iMode == kModeText) {
        if (ctrl && qtKey == Qt::Key_V) {
            // The whole clipboard replaces the text, whatever its length.
            const QClipboard* clipboard = QGuiApplication::clipboard();
            SetText(clipboard ? clipboard->text() : QString());
        }
        if (qtKey == Qt::Key_Backspace) {
            if (!m_strText.isEmpty()) m_strText.chop(1);
            return true;
        }
        if (enter || qtKey == Qt::Key_Escape) return true;
        if (qtKey == Qt::Key_Delete) {
            SetText(QString());
            return true;
        }
        return false;
    }
    if (m_iMode == kModeNumber) {
        if (qtKey == Qt::Key_Backspace) {
            if (m_strText.size() < 2)
                SetNumber(0);
            else if (GetNumber() != 0)
                m_strText.chop(1);
            return true;
        }
        if (enter || qtKey == Qt::Key_Escape) return true;
        if (qtKey == Qt::Key_Delete) {
            SetNumber(0);
            return true;
        }
        return false;
    }
    return false;
}

bool CGUIGDIPlusMfcCtrlEditBox::OnChar(QChar ch) {
    if (!IsFocused() || m_bReadOnly) return false;
    if (m_iMode == kModeText) {
        if (m_strText.size() >= m_iMaxLen) return false;
        SetText(m_strText + ch);
        return true;
    }
    if (m_iMode == kModeNumber) {
        if (ch < u'0' || ch > u'9') return false;
        if (m_strText.size() >= m_iMaxLen) return false;
        if (GetNumber() != 0)
            m_strText.append(ch);
        else
            m_strText = QString(ch);
        return true;
    }
    return false;
}
