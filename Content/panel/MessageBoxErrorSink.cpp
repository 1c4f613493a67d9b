#include "MessageBoxErrorSink.h"

#include <QMessageBox>

void MessageBoxErrorSink::ShowErrorBox(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, m_pOwner.data());
    box.exec();
}
