#include "GUIGDIPlusMfcCtrlSlider.h"

#include <cstdlib>

void CGUIGDIPlusMfcCtrlSlider::CopyFrom(const CGUIGDIPlusMfcCtrlSlider& desc) {
    m_strImagePath = desc.m_strImagePath;
    m_strImagePath2 = desc.m_strImagePath2;
    m_rcThumb = desc.m_rcThumb;
    m_rcBar = desc.m_rcBar;
    m_iStart = desc.m_iStart;
    m_iEnd = desc.m_iEnd;
    m_iCount = desc.m_iCount;
    m_iSpare = desc.m_iSpare;
    m_bVisible = desc.m_bVisible;
    m_bBusy = desc.m_bBusy;
    m_uMsg = desc.m_uMsg;
    m_iOrient = desc.m_iOrient;
    m_iSnap = desc.m_iSnap;
    m_iState = desc.m_iState;
}

int CGUIGDIPlusMfcCtrlSlider::ThumbExtent() const {
    return m_iOrient == kHorizontal ? m_rcThumb.Width() : m_rcThumb.Height();
}

void CGUIGDIPlusMfcCtrlSlider::MoveThumbTo(int lead) {
    if (m_iOrient == kHorizontal)
        m_rcThumb.Offset(lead - m_rcThumb.left, 0);
    else if (m_iOrient == kVertical)
        m_rcThumb.Offset(0, lead - m_rcThumb.top);
}

void CGUIGDIPlusMfcCtrlSlider::MakeTicks() {
    if (m_iOrient != kHorizontal && m_iOrient != kVertical) return;
    const int half = ThumbExtent() / 2;
    const int divisor = m_iCount == 1 ? 1 : m_iCount - 1;
    const int step = std::abs(m_iEnd - m_iStart) / divisor;
    m_vecTicks.assign(static_cast<size_t>(m_iCount), 0);
    for (int i = 1; i < m_iCount - 1; ++i)
        m_vecTicks[static_cast<size_t>(i)] = step * i + m_iStart - half;
    // The last tick is exact; rounding of the step widens the last gap instead.
    m_vecTicks.back() = m_iEnd - half;
    m_vecTicks.front() = m_iStart - half;
    MoveThumbTo(m_vecTicks.front());
}

bool CGUIGDIPlusMfcCtrlSlider::LoadImage() {
    if (m_pImage || m_pImage2 || m_iCount <= 0 || !m_vecTicks.empty()) return false;
    m_pImage = LoadSkinImageFile(m_strImagePath);
    m_pImage2 = LoadSkinImageFile(m_strImagePath2);
    MakeTicks();
    return SkinImageUsable(m_pImage.get()) && SkinImageUsable(m_pImage2.get());
}

void CGUIGDIPlusMfcCtrlSlider::FreeImage() {
    m_pImage.reset();
    m_pImage2.reset();
    m_vecTicks.clear();
}

void CGUIGDIPlusMfcCtrlSlider::Draw(QPaintDevice* pDC) {
    if (!m_bVisible || pDC == nullptr) return;
    if (!SkinImageUsable(m_pImage.get()) || !SkinImageUsable(m_pImage2.get())) return;
    DrawSkinFrame(pDC, m_pImage2.get(), m_iState, kFrames, m_rcBar);
    DrawSkinFrame(pDC, m_pImage.get(), m_iState, kFrames, m_rcThumb);
}

void CGUIGDIPlusMfcCtrlSlider::SetPos(int index) {
    if (index < 0 || index >= m_iCount) return;
    m_iCurPos = index;
    if (static_cast<size_t>(index) < m_vecTicks.size())
        MoveThumbTo(m_vecTicks[static_cast<size_t>(index)]);
}

bool CGUIGDIPlusMfcCtrlSlider::GetTicks(std::vector<int>& list) const {
    // Without ticks the caller's list stays as it was; ticks not made yet (before
    // LoadImage, after FreeImage, unknown orientation) count as none.
    if (m_iCount <= 0 || m_vecTicks.empty()) return false;
    list = m_vecTicks;
    return true;
}

bool CGUIGDIPlusMfcCtrlSlider::HitDown(int x, int y) {
    if (!m_bVisible || !m_rcThumb.Contains(x, y) || m_iState == kDisabled) return false;
    m_iState = kDragging;
    Track(x, y);
    return true;
}

bool CGUIGDIPlusMfcCtrlSlider::HitUp(int x, int y) {
    if (!m_bVisible || m_iState == kDisabled) return false;
    bool answer = false;
    if (m_iState == kDragging) {
        m_iState = kNormal;
        answer = true;
    } else if (m_iState == kHover) {
        m_iState = kNormal;
    }
    return answer || m_rcThumb.Contains(x, y);
}

bool CGUIGDIPlusMfcCtrlSlider::Track(int x, int y) {
    if (!m_bVisible) return false;
    const bool over = m_rcThumb.Contains(x, y) && m_iState != kDisabled;
    if (!over && m_iState != kDisabled && m_iState != kDragging) {
        m_iState = kNormal;
        return false;
    }
    if (m_iState == kDragging) {
        if (m_vecTicks.empty()) return true;
        const int first = m_vecTicks.front();
        const int last = m_vecTicks.back();
        int v = m_iOrient == kHorizontal ? x : y;
        if (v <= first)
            v = first;
        else if (v >= last)
            v = last;
        // Nearest tick by leading edge; on equal distances the lower index wins.
        size_t nearest = 0;
        for (size_t i = 1; i < m_vecTicks.size(); ++i) {
            if (std::abs(v - m_vecTicks[i]) < std::abs(v - m_vecTicks[nearest])) nearest = i;
        }
        m_iCurPos = static_cast<int>(nearest);
        if (m_iSnap == 0)
            MoveThumbTo(v - ThumbExtent() / 2);
        else if (m_iSnap == 1)
            MoveThumbTo(m_vecTicks[nearest]);
        return true;
    }
    if (m_iState != kDisabled) m_iState = kHover;
    return over;
}
