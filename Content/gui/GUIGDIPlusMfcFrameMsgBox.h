#pragma once
// The keep-or-revert box shown after an Apply: the operator keeps the new settings or goes
// back, and if nobody answers before the countdown runs out the answer is revert.
#include <QDialog>
#include <QString>
#include <QTimer>

class QLabel;
class QPushButton;

class CGUIGDIPlusMfcFrameMsgBox : public QDialog {
    Q_OBJECT
public:
    // Decisions and modal results.
    static constexpr int kKeep = 0;
    static constexpr int kRevert = 1004;
    static constexpr int kCancelResult = 2;

    // countdownFormat holds one %d, filled with the seconds left.
    CGUIGDIPlusMfcFrameMsgBox(const QString& message, const QString& countdownFormat, int seconds,
                              QWidget* parent = nullptr);

    // kKeep after "Keep Changes", kRevert otherwise.
    int Decision() const { return m_iDecision; }
    int SecondsLeft() const { return m_iSeconds; }

    // Ends with kCancelResult; the decision stays as it is.
    void reject() override;
    // Stops the countdown so no tick can land on a closed box.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OnTick();
    void OnKeep();
    void OnRevert();
    QString CountdownText(int seconds) const;

    QString m_strMessage;
    QString m_strFormat;
    int m_iSeconds;
    int m_iDecision = kRevert;
    bool m_bTimerStarted = false;
    QTimer m_hTimer;
    QPushButton* m_pRevertBtn = nullptr;
    QPushButton* m_pKeepBtn = nullptr;
    QLabel* m_pMessage = nullptr;
    QLabel* m_pCountdown = nullptr;
};

// Runs the box modally over owner. 0 when the operator kept the changes, otherwise the
// modal result (kRevert or kCancelResult): callers revert on anything but 0.
int ShowKeepRevertBox(QWidget* owner, const QString& message, const QString& countdownFormat,
                      int seconds);
