#pragma once
// The error box as a standard modal message box owned by the main frame's window.
#include "ErrorBox.h"

#include <QPointer>
#include <QWidget>

class MessageBoxErrorSink : public ErrorBoxSink {
public:
    // The window that owns the boxes; the box is centred over it and blocks it.
    void SetOwner(QWidget* owner) { m_pOwner = owner; }

    void ShowErrorBox(const QString& caption, const QString& text) override;

private:
    QPointer<QWidget> m_pOwner;
};
