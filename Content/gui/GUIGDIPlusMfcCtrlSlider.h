#pragma once
// Windowless slider: a bar, a thumb and a fixed number of ticks spread evenly between
// two centre coordinates along one axis. The dragged thumb jumps to the nearest tick
// (or follows the pointer without snapping).
//   state 0 normal, 1 pointer over the thumb, 2 being dragged, 3 disabled
// Bar and thumb always show the same frame index.
#include "GUIGDIPlusMfcCtrl.h"
#include "GUITypes.h"
#include "SkinImage.h"

#include <QString>

#include <cstdint>
#include <vector>

class CGUIGDIPlusMfcCtrlSlider : public IGUIGDIPlusMfcCtrl {
public:
    enum { kNormal = 0, kHover = 1, kDragging = 2, kDisabled = 3 };
    enum { kHorizontal = 0, kVertical = 1 };
    static constexpr int kFrames = 4;

    QString m_strImagePath;  // thumb strip
    QString m_strImagePath2; // bar strip
    GUIRect m_rcThumb;       // moved along the axis; its size never changes
    GUIRect m_rcBar;
    int m_iStart = 0; // axis coordinate of the thumb's centre at the first tick
    int m_iEnd = 0;   // ... at the last tick
    int m_iCount = 0; // number of ticks
    int m_iSpare = 0; // copied with the record, not otherwise used
    bool m_bVisible = false;
    SkinImagePtr m_pImage;  // thumb, owned
    SkinImagePtr m_pImage2; // bar, owned
    // Per tick, the thumb's leading edge (left or top) when it rests there. Empty until
    // LoadImage computes it.
    std::vector<int> m_vecTicks;
    bool m_bBusy = false;
    std::uint32_t m_uMsg = 0;
    int m_iOrient = kHorizontal;
    int m_iSnap = 1; // 1: jump to the nearest tick; 0: follow the pointer
    int m_iState = kNormal;
    int m_iCurPos = -1; // index of the current tick

    CGUIGDIPlusMfcCtrlSlider() = default;
    CGUIGDIPlusMfcCtrlSlider(const CGUIGDIPlusMfcCtrlSlider&) = delete;
    CGUIGDIPlusMfcCtrlSlider& operator=(const CGUIGDIPlusMfcCtrlSlider&) = delete;

    // Everything but the current position; images and ticks held stay with the control.
    void CopyFrom(const CGUIGDIPlusMfcCtrlSlider& desc);
    // Loads both strips and computes the ticks, then puts the thumb on tick 0. True when
    // both images have nonzero width. Does nothing (false) when an image or the ticks
    // are already held, or there are no ticks to make.
    bool LoadImage();
    void FreeImage();

    void Draw(QPaintDevice* pDC) override;

    void SetEnable(bool enable) { m_iState = enable ? kNormal : kDisabled; }
    bool IsEnabled() const { return m_iState != kDisabled; }
    void SetVisible(bool visible) { m_bVisible = visible; }
    bool IsVisible() const override { return m_bVisible; }
    void SetBusy(bool busy) override { m_bBusy = busy; }
    bool GetBusy() const override { return m_bBusy; }
    std::uint32_t GetMsg() const override { return m_uMsg; }

    int GetPos() const { return m_iCurPos; }
    // Index in 0..count-1: current tick, thumb moved onto it. Otherwise ignored.
    void SetPos(int index);
    // False (list untouched) when there are no ticks; else the list becomes the tick
    // coordinates in order.
    bool GetTicks(std::vector<int>& list) const;
    bool IsDragging() const override { return m_iState == kDragging; }

    // On the enabled thumb: dragging, tracked to (x, y), true. Presses on the bar do
    // nothing.
    bool HitDown(int x, int y) override;
    // Ends a drag (true) or a hover; also true when the point is over the thumb.
    bool HitUp(int x, int y) override;
    // The router's move test is the drag itself.
    bool HitHover(int x, int y) override { return Track(x, y); }
    // Hover look and dragging. True when the pointer is over the enabled thumb or the
    // slider is being dragged.
    bool Track(int x, int y);

private:
    int ThumbExtent() const;
    void MoveThumbTo(int lead);
    void MakeTicks();
};
