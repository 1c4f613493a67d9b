#include "GUIGDIPlusMfcBaseDlg.h"

#include "GUIGDIPlusMfcCtrlText.h"
#include "SkinImage.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>
#include <QToolTip>
#include <QWindow>

#include <cmath>

QEvent::Type FrameMessageEvent::EventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

CGUIGDIPlusMfcBaseDlg::CGUIGDIPlusMfcBaseDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    // Per-pixel alpha: the widget shows exactly what the surface holds.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    // A tool tip answers a resting pointer whether or not the panel has the focus.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    m_hPainter.Startup();
    setCursor(m_hCursor);

    MouseRouter::Hooks hooks;
    hooks.post = [this](std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
        PostFrameMessage(msg, wParam, lParam);
    };
    hooks.repaint = [this] { RepaintFrame(); };
    hooks.setCursor = [this](int type) { SetFrameCursor(type); };
    hooks.beginDrag = [this](int, int) { BeginWindowDrag(); };
    m_hMouseRouter.SetHooks(std::move(hooks));
}

CGUIGDIPlusMfcBaseDlg::~CGUIGDIPlusMfcBaseDlg() {
    ReleaseSurface();
    m_hPainter.Shutdown();
}

void CGUIGDIPlusMfcBaseDlg::CreateSurface(int x, int y, int width, int height) {
    m_hMemDC.m_rcSurface = GUIRect{x, y, x + width, y + height};
    if (!m_hMemDC.m_image.isNull()) return;
    m_dDeviceRatio = WantedDeviceRatio();
    // As many pixels as the window has on its screen (at least the frame's own); the
    // ratio lets every drawing call go on in the frame's own units.
    const qreal ratio = GetSurfaceRatio();
    const QSize pixels(int(std::ceil(width * ratio - 1e-9)), int(std::ceil(height * ratio - 1e-9)));
    m_hMemDC.m_image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    if (m_hMemDC.m_image.isNull()) return;
    m_hMemDC.m_image.setDevicePixelRatio(GetSurfaceRatio());
    m_hMemDC.m_image.fill(Qt::transparent);
    m_hMemDC.m_bReady = true;
}

QSize CGUIGDIPlusMfcBaseDlg::WindowSize() const {
    const GUIRect& rc = m_hBKInfo.m_rcWindow;
    return FittedSize(QSize(rc.Width(), rc.Height()), m_dFitScale);
}

qreal CGUIGDIPlusMfcBaseDlg::WantedDeviceRatio() const {
    return m_dPinnedRatio > 0 ? m_dPinnedRatio : devicePixelRatioF();
}

void CGUIGDIPlusMfcBaseDlg::FollowRatio() {
    if (m_hMemDC.m_image.isNull()) return;
    const qreal wanted = std::max<qreal>(1.0, WantedDeviceRatio() * m_dFitScale);
    if (m_hMemDC.m_image.devicePixelRatio() == wanted) return;
    const GUIRect rc = m_hMemDC.m_rcSurface;
    m_hMemDC.m_image = QImage();
    m_hMemDC.m_bReady = false;
    CreateSurface(rc.left, rc.top, rc.Width(), rc.Height());
    if (m_hBKInfo.m_bLoaded) setFixedSize(WindowSize());
    RepaintFrame();
}

void CGUIGDIPlusMfcBaseDlg::PinDeviceRatio(qreal ratio) {
    m_dPinnedRatio = ratio > 0 ? ratio : 0.0;
    FollowRatio();
}

void CGUIGDIPlusMfcBaseDlg::SetFitScale(qreal fit) {
    if (!(fit > 0)) return;
    m_dFitScale = std::min<qreal>(fit, 1.0);
    FollowRatio();
    // The surface may keep its ratio (1) while the window shrinks or grows around it.
    if (m_hBKInfo.m_bLoaded) setFixedSize(WindowSize());
    update();
}

QPoint CGUIGDIPlusMfcBaseDlg::ToFrameUnits(const QPointF& windowPos) const {
    // Each frame unit covers [u * fit, (u + 1) * fit) of the window: floor, not round, so
    // a control's right and bottom edges stay outside it as they are at fit 1.
    return QPoint(int(std::floor(windowPos.x() / m_dFitScale)),
                  int(std::floor(windowPos.y() / m_dFitScale)));
}

void CGUIGDIPlusMfcBaseDlg::SetScreenAreaSource(std::function<ScreenAreas()> source) {
    m_fnScreenAreas = source ? std::move(source) : std::function<ScreenAreas()>(CurrentScreenAreas);
}

void CGUIGDIPlusMfcBaseDlg::ReleaseSurface() {
    if (!m_hMemDC.m_image.isNull()) {
        m_hMemDC.m_image = QImage();
        m_hMemDC.m_bReady = false;
    }
    m_hBKInfo.m_bLoaded = false;
}

int CGUIGDIPlusMfcBaseDlg::LoadBKImage(int resId, const QString& resType, const QString& path,
                                       int width, int height) {
    if (!m_hMemDC.m_image.isNull()) {
        m_hMemDC.m_image = QImage();
        m_hMemDC.m_bReady = false;
    }
    GUIRect rcImage;
    if (resId != 0) {
        m_hBKInfo.m_iResID = resId;
        m_hBKInfo.m_strResType = resType;
    } else {
        m_hBKInfo.m_strPath = path;
    }
    GetSkinImageRect(resId, resType, path, rcImage);
    m_hBKInfo.m_rcImage = rcImage;

    GUIRect rcWindow;
    if (width != 0 && height != 0) {
        rcWindow = GUIRect{0, 0, width, height};
    } else if (rcImage.Width() != 0 && rcImage.Height() != 0) {
        rcWindow = rcImage;
    } else {
        return 0;
    }
    CreateSurface(0, 0, rcWindow.Width(), rcWindow.Height());
    if (!m_hMemDC.m_bReady) return 0;
    m_hBKInfo.m_rcWindow = rcWindow;
    m_hBKInfo.m_bLoaded = true;
    setFixedSize(WindowSize());
    return 1;
}

void CGUIGDIPlusMfcBaseDlg::DrawBKImage(int resId, const QString& resType, const QString& path,
                                        int x, int y, int width, int height, unsigned alpha) {
    if (!m_hBKInfo.m_bLoaded || m_hMemDC.m_image.isNull()) return;
    m_hMemDC.m_image.fill(Qt::transparent);

    SkinImagePtr img;
    if (m_hBKInfo.m_iResID != 0) {
        m_hBKInfo.m_iResID = resId;
        m_hBKInfo.m_strResType = resType;
        img = LoadSkinImage(resId, resType, QString());
    } else {
        m_hBKInfo.m_strPath = path;
        img = LoadSkinImageFile(path);
    }
    if (!img) return;
    const int w = width != 0 ? width : img->width();
    const int h = height != 0 ? height : img->height();
    m_hPainter.DrawSkinImage(*img, &m_hMemDC.m_image, x, y, w, h, alpha);
}

QImage* CGUIGDIPlusMfcBaseDlg::GetSurfaceDC() {
    return m_hMemDC.m_image.isNull() ? nullptr : &m_hMemDC.m_image;
}

void CGUIGDIPlusMfcBaseDlg::UpdateLayeredFrame() {
    if (m_hMemDC.m_image.isNull()) return;
    // A snapshot, as a layered update takes one: drawing afterwards does not show
    // until the next update.
    const QImage snapshot = m_hMemDC.m_image;
    if (QThread::currentThread() == thread()) {
        ShowSnapshot(snapshot);
    } else {
        QMetaObject::invokeMethod(
            this, [this, snapshot] { ShowSnapshot(snapshot); }, Qt::QueuedConnection);
    }
}

void CGUIGDIPlusMfcBaseDlg::ShowSnapshot(const QImage& img) {
    m_imgShown = img;
    const GUIRect& rc = m_hBKInfo.m_rcWindow;
    const QSize size = WindowSize();
    if (rc.Width() > 0 && rc.Height() > 0 && this->size() != size) setFixedSize(size);
    update();
}

void CGUIGDIPlusMfcBaseDlg::paintEvent(QPaintEvent* e) {
    (void)e;
    // Moved to a screen of another density: draw again at its ratio, then show that.
    if (m_dPinnedRatio <= 0 && !m_hMemDC.m_image.isNull() &&
        devicePixelRatioF() != m_dDeviceRatio) {
        QMetaObject::invokeMethod(
            this, [this] { FollowRatio(); }, Qt::QueuedConnection);
    }
    if (m_imgShown.isNull()) return;
    QPainter painter(this);
    // Copy, not blend: the surface's per-pixel alpha is what the window shows. At fit 1 the
    // surface has the window's own pixels, so this is a copy pixel for pixel at any ratio;
    // shrunk, it is scaled down smoothly.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (m_imgShown.devicePixelRatio() == 1.0 && m_dFitScale == 1.0) {
        painter.drawImage(0, 0, m_imgShown);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(size())), m_imgShown, QRectF(m_imgShown.rect()));
}

void CGUIGDIPlusMfcBaseDlg::SetFrameCursor(int type) {
    switch (type) {
    case kCursorArrow:
        m_hCursor = Qt::ArrowCursor;
        break;
    case kCursorAppStarting:
        m_hCursor = Qt::BusyCursor;
        break;
    case kCursorSizeNWSE:
        m_hCursor = Qt::SizeFDiagCursor;
        break;
    case kCursorHand:
        m_hCursor = Qt::PointingHandCursor;
        break;
    default:
        break;
    }
    setCursor(m_hCursor);
}

bool CGUIGDIPlusMfcBaseDlg::GetSkinImageRect(int resId, const QString& resType, const QString& path,
                                             GUIRect& rcOut) {
    return m_hPainter.GetSkinImageRect(resId, resType, path, rcOut);
}

void CGUIGDIPlusMfcBaseDlg::DrawExeIcon(const QString& exePath, int x, int y, int width,
                                        int height) {
    m_hPainter.DrawExeIcon(exePath, GetSurfaceDC(), x, y, width, height);
}

void CGUIGDIPlusMfcBaseDlg::DrawLineEx(int x1, int y1, int x2, int y2, GUIColorRef clr,
                                       unsigned alpha, int penWidth, bool solid) {
    m_hPainter.DrawLineEx(GetSurfaceDC(), x1, y1, x2, y2, clr, alpha, penWidth, solid);
}

void CGUIGDIPlusMfcBaseDlg::FillGradientRect(const GUIRect& rc, GUIColorRef clr1, unsigned alpha1,
                                             GUIColorRef clr2, unsigned alpha2, int angle) {
    m_hPainter.FillGradientRect(GetSurfaceDC(), rc, clr1, alpha1, clr2, alpha2, angle);
}

void CGUIGDIPlusMfcBaseDlg::FillGradientRectWithFrame(const GUIRect& rc, GUIColorRef clr1,
                                                      unsigned alpha1, GUIColorRef clr2,
                                                      unsigned alpha2, int angle,
                                                      GUIColorRef clrFrame, int penWidth) {
    m_hPainter.FillGradientRect(GetSurfaceDC(), rc, clr1, alpha1, clr2, alpha2, angle);
    m_hPainter.DrawFrameRect(GetSurfaceDC(), rc, clrFrame, 255, penWidth, true, 0);
}

void CGUIGDIPlusMfcBaseDlg::DrawFrameRect(const GUIRect& rc, GUIColorRef clr, unsigned alpha,
                                          int penWidth, bool solid, int style) {
    m_hPainter.DrawFrameRect(GetSurfaceDC(), rc, clr, alpha, penWidth, solid, style);
}

void CGUIGDIPlusMfcBaseDlg::DrawTextInfo(const CGUIGDIPlusMfcCtrlText& text) {
    const GUIRect& rc = text.m_rcCtrl;
    m_hPainter.DrawTextEx(GetSurfaceDC(), text.m_strText, rc.left, rc.top, rc.right, rc.bottom,
                          text.m_bBold, text.m_uSize, text.m_clrText, text.m_byAlpha, text.m_iAngle,
                          text.m_iAlign, text.m_strFace);
}

void CGUIGDIPlusMfcBaseDlg::DrawEllipseEx(int left, int top, int right, int bottom,
                                          GUIColorRef fillClr, int borderWidth,
                                          GUIColorRef borderClr) {
    m_hPainter.DrawEllipseEx(GetSurfaceDC(), left, top, right, bottom, fillClr, borderWidth,
                             borderClr);
}

void CGUIGDIPlusMfcBaseDlg::FillRectEx(const GUIRect& rc, GUIColorRef clr, unsigned alpha) {
    m_hPainter.FillRectEx(GetSurfaceDC(), rc, clr, alpha);
}

void CGUIGDIPlusMfcBaseDlg::PostFrameMessage(std::uint32_t msg, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
    QCoreApplication::postEvent(this, new FrameMessageEvent(msg, wParam, lParam));
}

long CGUIGDIPlusMfcBaseDlg::SendFrameMessage(std::uint32_t msg, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
    if (QThread::currentThread() == thread()) return OnFrameMessage(msg, wParam, lParam);
    long result = 0;
    QMetaObject::invokeMethod(
        this, [&] { result = OnFrameMessage(msg, wParam, lParam); }, Qt::BlockingQueuedConnection);
    return result;
}

long CGUIGDIPlusMfcBaseDlg::OnFrameMessage(std::uint32_t msg, std::uintptr_t wParam,
                                           std::intptr_t lParam) {
    (void)msg;
    (void)wParam;
    (void)lParam;
    return 0;
}

void CGUIGDIPlusMfcBaseDlg::RepaintFrame() {
    UpdateLayeredFrame();
}

bool CGUIGDIPlusMfcBaseDlg::event(QEvent* e) {
    if (e->type() == FrameMessageEvent::EventType()) {
        const auto* fm = static_cast<FrameMessageEvent*>(e);
        OnFrameMessage(fm->m_uMsg, fm->m_wParam, fm->m_lParam);
        return true;
    }
    if (e->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(e);
        GUIRect rc;
        const QPoint at = ToFrameUnits(help->pos());
        const QString text = ToolTipAt(at.x(), at.y(), rc);
        if (text.isEmpty()) {
            QToolTip::hideText();
            e->ignore();
        } else {
            // Kept while the pointer stays on the item it belongs to, in window pixels.
            const QRectF item = QRectF(rc.left, rc.top, rc.Width(), rc.Height());
            const QRectF shown(item.topLeft() * m_dFitScale, item.size() * m_dFitScale);
            QToolTip::showText(help->globalPos(), text, this, shown.toAlignedRect());
        }
        return true;
    }
    return QDialog::event(e);
}

QString CGUIGDIPlusMfcBaseDlg::ToolTipAt(int, int, GUIRect&) const {
    return {};
}

void CGUIGDIPlusMfcBaseDlg::BeginWindowDrag() {
    // Let the window system move the window where it can; otherwise follow the
    // pointer until the button is released.
    if (QWindow* win = windowHandle(); win != nullptr && win->startSystemMove()) return;
    m_bDragging = true;
    m_ptDragOffset = m_ptLastPress;
}

void CGUIGDIPlusMfcBaseDlg::ShowOnPlacementArea() {
    const GUIRect& rc = m_hBKInfo.m_rcWindow;
    const QSize own = m_hBKInfo.m_bLoaded ? QSize(rc.Width(), rc.Height()) : size();
    const QPoint fixed((kPlacementAreaWidth - own.width()) / 2,
                       (kPlacementAreaHeight - own.height()) / 2);
    const WindowPlace place = PlaceWindow(own, fixed, m_fnScreenAreas());
    if (place.fit != m_dFitScale) SetFitScale(place.fit);
    move(place.topLeft);
    show();
    raise();
    // Shown on a screen of another density than the one it was drawn for.
    FollowRatio();
}

void CGUIGDIPlusMfcBaseDlg::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(e);
        return;
    }
    m_ptLastPress = e->position().toPoint();
    const QPoint pt = ToFrameUnits(e->position());
    m_hMouseRouter.OnLButtonDown(pt.x(), pt.y());
    e->accept();
}

void CGUIGDIPlusMfcBaseDlg::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QDialog::mouseReleaseEvent(e);
        return;
    }
    e->accept();
    if (m_bDragging) {
        // A window drag ends here; the controls never saw its press.
        m_bDragging = false;
        return;
    }
    const QPoint pt = ToFrameUnits(e->position());
    m_hMouseRouter.OnLButtonUp(pt.x(), pt.y());
}

void CGUIGDIPlusMfcBaseDlg::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    if (m_bDragging) {
        move(e->globalPosition().toPoint() - m_ptDragOffset);
        return;
    }
    const QPoint pt = ToFrameUnits(e->position());
    m_hMouseRouter.OnMouseMove(pt.x(), pt.y());
}

void CGUIGDIPlusMfcBaseDlg::mouseDoubleClickEvent(QMouseEvent* e) {
    // A double click counts as a second press.
    mousePressEvent(e);
}

void CGUIGDIPlusMfcBaseDlg::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool CGUIGDIPlusMfcBaseDlg::SwallowEnterAndEscape(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        e->accept();
        return true;
    default:
        return false;
    }
}
