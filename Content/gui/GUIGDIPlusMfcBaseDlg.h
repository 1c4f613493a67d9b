#pragma once
// Base of every skinned window: a frameless, translucent top-level dialog whose whole look
// is an off-screen ARGB surface that the frame draws and then shows with per-pixel alpha.
// Controls are windowless objects the derived frame owns and routes the mouse to
// (MouseRouter). Notifications are posted to the frame's own thread as FrameMessageEvent
// and arrive at OnFrameMessage.
//
// Everything the frame draws, hits and lays out is in its own units (the background's
// pixels at ratio 1). The surface holds them at the surface ratio: the screen's device
// pixel ratio times the fit scale, which is below 1 only where the screen is smaller than
// the window and the window is shown shrunk (WindowPlacement). A painter does not scale
// down to a ratio below 1, so such a surface is drawn at ratio 1 and shrunk when shown.
#include "GUIGDIPlusMfcPainter.h"
#include "GUITypes.h"
#include "MouseRouter.h"
#include "WindowPlacement.h"

#include <QDialog>
#include <QEvent>
#include <QImage>
#include <QPoint>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <functional>

class CGUIGDIPlusMfcCtrlText;

// The off-screen surface.
struct CGUIGDIPlusMfcMemDC {
    bool m_bReady = false;
    QImage m_image;      // Format_ARGB32_Premultiplied, device pixel ratio = surface ratio
    GUIRect m_rcSurface; // in the frame's own units
};

// The background record.
struct CGUIGDIPlusMfcBKInfo {
    bool m_bLoaded = false;
    GUIRect m_rcImage;  // (0, 0, image width, image height)
    GUIRect m_rcWindow; // (0, 0, surface width, surface height)
    int m_iResID = 0;   // 0: the background came from a file
    QString m_strPath;
    QString m_strResType;
};

// A notification posted to a skinned frame (message, wParam, lParam).
class FrameMessageEvent : public QEvent {
public:
    FrameMessageEvent(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam)
        : QEvent(EventType()), m_uMsg(msg), m_wParam(wParam), m_lParam(lParam) {}
    static QEvent::Type EventType();

    std::uint32_t m_uMsg;
    std::uintptr_t m_wParam;
    std::intptr_t m_lParam;
};

class CGUIGDIPlusMfcBaseDlg : public QDialog {
    Q_OBJECT
public:
    // Cursor types of SetFrameCursor.
    enum { kCursorArrow = 0, kCursorAppStarting = 1, kCursorSizeNWSE = 2, kCursorHand = 3 };
    // The skinned frames centre themselves on this fixed area, not on the actual screen.
    static constexpr int kPlacementAreaWidth = 1600;
    static constexpr int kPlacementAreaHeight = 1050;

    explicit CGUIGDIPlusMfcBaseDlg(QWidget* parent = nullptr);
    ~CGUIGDIPlusMfcBaseDlg() override;

    // Loads the background, records it and creates the surface at its size (or at
    // width x height when both are nonzero). 1 on success, 0 on failure.
    int LoadBKImage(int resId, const QString& resType, const QString& path, int width, int height);
    // Clears the surface to transparent black and draws the background stretched into
    // (x, y, width or image width, height or image height) with the given alpha.
    void DrawBKImage(int resId, const QString& resType, const QString& path, int x, int y,
                     int width, int height, unsigned alpha);
    // The surface all items and controls draw onto; nullptr while there is none. Every
    // drawing call opens its own QPainter on it: hold none open while calling them.
    QImage* GetSurfaceDC();
    // Shows the surface as the window's image (snapshot), sized to the background's
    // window rectangle. Safe to call from another thread: the show is then queued.
    void UpdateLayeredFrame();
    // What the window currently shows (the last snapshot); for checks and tests. Its
    // pixel size is the surface's, its device pixel ratio the surface ratio.
    QImage GetShownImage() const { return m_imgShown; }

    // Device pixels per unit of the frame on the surface: the device ratio times the fit
    // scale, at least 1.
    qreal GetSurfaceRatio() const { return std::max<qreal>(1.0, m_dDeviceRatio * m_dFitScale); }
    // Window pixels per unit of the frame: 1, or below 1 while shown shrunk to a screen.
    qreal GetFitScale() const { return m_dFitScale; }
    // Pins the device ratio (tests, the bench); 0 follows the screen the window is on.
    // Redraws at the new ratio when it changes.
    void PinDeviceRatio(qreal ratio);
    // Shrinks (fit < 1) or restores (1) the window; the drawing follows. For placement,
    // tests and the bench.
    void SetFitScale(qreal fit);
    // A point of the window (logical pixels) in the frame's own units.
    QPoint ToFrameUnits(const QPointF& windowPos) const;
    // Where the screens are; tests give their own. Default: CurrentScreenAreas.
    void SetScreenAreaSource(std::function<ScreenAreas()> source);

    // 0 arrow, 1 arrow with hourglass, 2 diagonal sizing, 3 hand; others keep the
    // current cursor. The cursor is re-applied in every case.
    void SetFrameCursor(int type);
    Qt::CursorShape GetFrameCursor() const { return m_hCursor; }

    // Frees the surface and marks the background not loaded.
    void ReleaseSurface();
    // (0, 0, width, height) of the image, loaded as LoadSkinImage does; nothing drawn.
    bool GetSkinImageRect(int resId, const QString& resType, const QString& path, GUIRect& rcOut);

    // Pass-through drawing onto the surface.
    void DrawExeIcon(const QString& exePath, int x, int y, int width, int height);
    void DrawLineEx(int x1, int y1, int x2, int y2, GUIColorRef clr, unsigned alpha, int penWidth,
                    bool solid);
    void FillGradientRect(const GUIRect& rc, GUIColorRef clr1, unsigned alpha1, GUIColorRef clr2,
                          unsigned alpha2, int angle);
    // Gradient, then a solid outline (style 0) in clrFrame at alpha 255 (drawn as 254).
    void FillGradientRectWithFrame(const GUIRect& rc, GUIColorRef clr1, unsigned alpha1,
                                   GUIColorRef clr2, unsigned alpha2, int angle,
                                   GUIColorRef clrFrame, int penWidth);
    void DrawFrameRect(const GUIRect& rc, GUIColorRef clr, unsigned alpha, int penWidth, bool solid,
                       int style);
    // The record's text with its rectangle, bold flag, size, colour, alpha, angle,
    // alignment and face (DrawTextEx).
    void DrawTextInfo(const CGUIGDIPlusMfcCtrlText& text);
    void DrawEllipseEx(int left, int top, int right, int bottom, GUIColorRef fillClr,
                       int borderWidth, GUIColorRef borderClr);
    void FillRectEx(const GUIRect& rc, GUIColorRef clr, unsigned alpha);

    // Posts (queues) a notification to this frame's thread; safe from any thread.
    void PostFrameMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);
    // Runs the notification on the frame's thread and waits for its result (direct
    // call when already there). For repeat threads that must wait for each step.
    long SendFrameMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);

    MouseRouter& GetMouseRouter() { return m_hMouseRouter; }
    CGUIGDIPlusMfcPainter& GetPainter() { return m_hPainter; }
    const CGUIGDIPlusMfcBKInfo& GetBKInfo() const { return m_hBKInfo; }

    QString m_strSkinDir;  // skin root with trailing "/"
    QString m_strSkinPath; // working path: skin root + relative file name

protected:
    // Handler of posted notifications; returns 0 when handled. Default: nothing.
    virtual long OnFrameMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam);
    // What the router asks for after a change of look. Default: UpdateLayeredFrame().
    virtual void RepaintFrame();
    // Tool tip for the point (x, y) of the panel and the rectangle it belongs to; an
    // empty text shows none. Default: none anywhere.
    virtual QString ToolTipAt(int x, int y, GUIRect& rcOut) const;

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    // A double click counts as a second press.
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    // F1 does nothing.
    void keyPressEvent(QKeyEvent* e) override;
    // Takes Enter and Escape, which would otherwise end the dialog's run; true when taken.
    static bool SwallowEnterAndEscape(QKeyEvent* e);

    // Starts moving the window with the pointer where the last press was.
    void BeginWindowDrag();
    // Centres the window on the placement area where a screen holds it there; otherwise
    // puts it wholly on the pointer's screen, shrunk to fit when that screen is smaller
    // (WindowPlacement). Shows and raises it.
    void ShowOnPlacementArea();

    CGUIGDIPlusMfcMemDC m_hMemDC;
    CGUIGDIPlusMfcPainter m_hPainter;
    CGUIGDIPlusMfcBKInfo m_hBKInfo;
    MouseRouter m_hMouseRouter;

private:
    void ShowSnapshot(const QImage& img);
    void CreateSurface(int x, int y, int width, int height);
    // The window's size for the background's window rectangle at the fit scale.
    QSize WindowSize() const;
    // The device ratio the window should draw at now: the pinned one, else the screen's.
    qreal WantedDeviceRatio() const;
    // Re-creates the surface at the current ratio and redraws, when it changed.
    void FollowRatio();

    Qt::CursorShape m_hCursor = Qt::ArrowCursor;
    QImage m_imgShown;
    // Manual window drag where the platform cannot move the window itself.
    bool m_bDragging = false;
    QPoint m_ptDragOffset;
    QPoint m_ptLastPress; // window coordinates of the last left press
    qreal m_dDeviceRatio = 1.0;
    qreal m_dPinnedRatio = 0.0;
    qreal m_dFitScale = 1.0;
    std::function<ScreenAreas()> m_fnScreenAreas = CurrentScreenAreas;
};
