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
    hooks.beginDrag = [this](int x, int y) { BeginWindowDrag(x, y); };
    m_hMouseRouter.SetHooks(std::move(hooks));
}

CGUIGDIPlusMfcBaseDlg::~CGUIGDIPlusMfcBaseDlg() {
    ReleaseSurface();
    m_hPainter.Shutdown();
}

void CGUIGDIPlusMfcBaseDlg::CreateSurface(int x, int y, int width, int height) {
    m_hMemDC.m_rcSurface = GUIRect{x, y, x + width, y + height};
    if (!m_hMemDC.m_image.isNull()) return;
    m_hMemDC.m_image = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    if (m_hMemDC.m_image.isNull()) return;
    m_hMemDC.m_image.fill(Qt::transparent);
    m_hMemDC.m_bReady = true;
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
    setFixedSize(rcWindow.Width(), rcWindow.Height());
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
    const QSize size(rc.Width(), rc.Height());
    if (size.isValid() && !size.isEmpty() && this->size() != size) setFixedSize(size);
    update();
}

void CGUIGDIPlusMfcBaseDlg::paintEvent(QPaintEvent* e) {
    (void)e;
    if (m_imgShown.isNull()) return;
    QPainter painter(this);
    // Copy, not blend: the surface's per-pixel alpha is what the window shows.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_imgShown);
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
        const QString text = ToolTipAt(help->pos().x(), help->pos().y(), rc);
        if (text.isEmpty()) {
            QToolTip::hideText();
            e->ignore();
        } else {
            // Kept while the pointer stays on the item it belongs to.
            QToolTip::showText(help->globalPos(), text, this,
                               QRect(rc.left, rc.top, rc.Width(), rc.Height()));
        }
        return true;
    }
    return QDialog::event(e);
}

QString CGUIGDIPlusMfcBaseDlg::ToolTipAt(int, int, GUIRect&) const {
    return {};
}

void CGUIGDIPlusMfcBaseDlg::BeginWindowDrag(int x, int y) {
    // Let the window system move the window where it can; otherwise follow the
    // pointer until the button is released.
    if (QWindow* win = windowHandle(); win != nullptr && win->startSystemMove()) return;
    m_bDragging = true;
    m_ptDragOffset = QPoint(x, y);
}

void CGUIGDIPlusMfcBaseDlg::ShowOnPlacementArea() {
    move((kPlacementAreaWidth - width()) / 2, (kPlacementAreaHeight - height()) / 2);
    show();
    raise();
}

void CGUIGDIPlusMfcBaseDlg::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(e);
        return;
    }
    const QPoint pt = e->position().toPoint();
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
    const QPoint pt = e->position().toPoint();
    m_hMouseRouter.OnLButtonUp(pt.x(), pt.y());
}

void CGUIGDIPlusMfcBaseDlg::mouseMoveEvent(QMouseEvent* e) {
    e->accept();
    if (m_bDragging) {
        move(e->globalPosition().toPoint() - m_ptDragOffset);
        return;
    }
    const QPoint pt = e->position().toPoint();
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
