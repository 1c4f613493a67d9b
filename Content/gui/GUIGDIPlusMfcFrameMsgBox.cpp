#include "GUIGDIPlusMfcFrameMsgBox.h"

#include "GUIGDIPlusMfcPainter.h"
#include "GUITypes.h"

#include <QByteArray>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRect>

namespace {

constexpr int kWidthDu = 257;
constexpr int kHeightDu = 79;
constexpr GUIColorRef kMessageColor = 0x00C80000;
// A runaway format must not stretch the one-line countdown.
constexpr int kMaxCountdownChars = 127;
constexpr int kTickMs = 1000;

// At the 8 pt UI font a dialog unit is about 1.5 px across and 1.75 px down.
int UnitsAcross(int units) {
    return (units * 3 + 1) / 2;
}
int UnitsDown(int units) {
    return (units * 7 + 2) / 4;
}
QRect FromDialogUnits(int x, int y, int width, int height) {
    return QRect(UnitsAcross(x), UnitsDown(y), UnitsAcross(width), UnitsDown(height));
}

// The white band behind the message.
QRect BandRect() {
    return FromDialogUnits(0, 0, kWidthDu, 32);
}

QPushButton* AddButton(QWidget* parent, const QString& text, const char* id, const QRect& rc) {
    auto* btn = new QPushButton(text, parent);
    btn->setObjectName(QLatin1String(id));
    btn->setGeometry(rc);
    // Enter is routed by hand to whichever button has the focus, never to a default one.
    btn->setAutoDefault(false);
    btn->setDefault(false);
    return btn;
}

} // namespace

CGUIGDIPlusMfcFrameMsgBox::CGUIGDIPlusMfcFrameMsgBox(const QString& message,
                                                     const QString& countdownFormat, int seconds,
                                                     QWidget* parent)
    : QDialog(parent), m_strMessage(message), m_strFormat(countdownFormat), m_iSeconds(seconds) {
    setWindowTitle(QStringLiteral("Quorvane Control Center Settings"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);
    QFont uiFont = font();
    uiFont.setPointSize(8);
    setFont(uiFont);
    setFixedSize(FromDialogUnits(0, 0, kWidthDu, kHeightDu).size());

    // Created in tab order: Revert first.
    m_pRevertBtn =
        AddButton(this, QStringLiteral("Revert"), "1004", FromDialogUnits(206, 38, 47, 14));
    m_pKeepBtn =
        AddButton(this, QStringLiteral("Keep Changes"), "1000", FromDialogUnits(142, 38, 59, 14));
    connect(m_pRevertBtn, &QPushButton::clicked, this, &CGUIGDIPlusMfcFrameMsgBox::OnRevert);
    connect(m_pKeepBtn, &QPushButton::clicked, this, &CGUIGDIPlusMfcFrameMsgBox::OnKeep);
    setTabOrder(m_pRevertBtn, m_pKeepBtn);

    m_pMessage = new QLabel(this);
    m_pMessage->setObjectName(QStringLiteral("1001"));
    m_pMessage->setTextFormat(Qt::PlainText);
    m_pMessage->setGeometry(FromDialogUnits(7, 10, 148, 10));
    QFont msgFont(QStringLiteral("Arial"));
    msgFont.setPixelSize(14);
    msgFont.setWeight(QFont::Normal);
    m_pMessage->setFont(msgFont);
    QPalette msgPalette = m_pMessage->palette();
    msgPalette.setColor(QPalette::WindowText, ColorFromRef(kMessageColor, 255));
    msgPalette.setColor(QPalette::Window, Qt::white);
    m_pMessage->setPalette(msgPalette);
    m_pMessage->setAutoFillBackground(true);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(FromDialogUnits(2, 57, 255, 1));

    m_pCountdown = new QLabel(this);
    m_pCountdown->setObjectName(QStringLiteral("1002"));
    m_pCountdown->setTextFormat(Qt::PlainText);
    m_pCountdown->setGeometry(FromDialogUnits(7, 64, 234, 8));

    m_pCountdown->setText(CountdownText(m_iSeconds));
    m_pMessage->setText(m_strMessage);

    m_hTimer.setTimerType(Qt::PreciseTimer);
    m_hTimer.setInterval(kTickMs);
    connect(&m_hTimer, &QTimer::timeout, this, &CGUIGDIPlusMfcFrameMsgBox::OnTick);

    m_pRevertBtn->setFocus();
}

void CGUIGDIPlusMfcFrameMsgBox::reject() {
    done(kCancelResult);
}

void CGUIGDIPlusMfcFrameMsgBox::done(int result) {
    m_hTimer.stop();
    QDialog::done(result);
}

void CGUIGDIPlusMfcFrameMsgBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The countdown runs from the moment the box appears, not from its construction.
    if (!m_bTimerStarted) {
        m_bTimerStarted = true;
        m_hTimer.start();
    }
}

void CGUIGDIPlusMfcFrameMsgBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const QWidget* focused = focusWidget();
        if (focused == m_pRevertBtn)
            OnRevert();
        else if (focused == m_pKeepBtn)
            OnKeep();
        event->accept();
        return;
    }
    case Qt::Key_Escape:
        // Only the buttons, the close box or the countdown may end the box.
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void CGUIGDIPlusMfcFrameMsgBox::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(BandRect(), Qt::white);
}

void CGUIGDIPlusMfcFrameMsgBox::OnTick() {
    if (m_iSeconds <= 0) {
        done(kCancelResult);
        return;
    }
    m_pCountdown->setText(CountdownText(m_iSeconds));
    --m_iSeconds;
}

void CGUIGDIPlusMfcFrameMsgBox::OnKeep() {
    m_iDecision = kKeep;
    done(kCancelResult);
}

void CGUIGDIPlusMfcFrameMsgBox::OnRevert() {
    m_iDecision = kRevert;
    done(kRevert);
}

QString CGUIGDIPlusMfcFrameMsgBox::CountdownText(int seconds) const {
    const QByteArray format = m_strFormat.toUtf8();
    return QString::asprintf(format.constData(), seconds).left(kMaxCountdownChars);
}

int ShowKeepRevertBox(QWidget* owner, const QString& message, const QString& countdownFormat,
                      int seconds) {
    CGUIGDIPlusMfcFrameMsgBox box(message, countdownFormat, seconds, owner);
    const int result = box.exec();
    return box.Decision() == CGUIGDIPlusMfcFrameMsgBox::kKeep ? 0 : result;
}
