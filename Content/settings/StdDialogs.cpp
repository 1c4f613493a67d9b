#include "StdDialogs.h"

#include "StdMfcDevBoxIdentifyDlg.h"
#include "StdMfcSettingDlg.h"

#include <QDialog>
#include <QEvent>
#include <QFont>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

#include <limits>

namespace {

class RealDialogs : public StdDialogs {
public:
    int RunSettingDlg(SettingDurationInfo& setting, QWidget* owner) override {
        CStdMfcSettingDlg dlg(&setting, owner);
        return dlg.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    }
    int RunDevBoxIdentifyDlg(uint8_t count, uint8_t& boxId, QWidget* owner) override {
        CStdMfcDevBoxIdentifyDlg dlg(count, &boxId, owner);
        return dlg.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    }
};

// Eats Enter and Return before the watched widget or the dialog's default button sees them.
class EnterKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// At the 8 pt UI font a dialog unit is about 1.5 px across and 1.75 px down.
int UnitsAcross(int units) {
    return (units * 3 + 1) / 2;
}
int UnitsDown(int units) {
    return (units * 7 + 2) / 4;
}

} // namespace

StdDialogs& RealStdDialogs() {
    static RealDialogs dialogs;
    return dialogs;
}

namespace StdDialogParts {

QRect FromDialogUnits(int x, int y, int width, int height) {
    return QRect(UnitsAcross(x), UnitsDown(y), UnitsAcross(width), UnitsDown(height));
}

int LeadingDecimal(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    constexpr long long kLimit = std::numeric_limits<int>::max();
    long long value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        value = value * 10 + (text.at(i).unicode() - u'0');
        if (value > kLimit + 1) value = kLimit + 1;
    }
    if (negative) return static_cast<int>(-value);
    return static_cast<int>(value > kLimit ? kLimit : value);
}

void PlaceOnRow(QWidget* list, const QRect& row) {
    const int height = list->sizeHint().height();
    list->setGeometry(row.x(), row.center().y() - (height - 1) / 2, row.width(), height);
}

void SetUpFrame(QDialog& dialog, const QString& caption, int width, int height) {
    dialog.setWindowTitle(caption);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    dialog.setModal(true);
    QFont font = dialog.font();
    font.setPointSize(8);
    dialog.setFont(font);
    const QRect client = FromDialogUnits(0, 0, width, height);
    dialog.setFixedSize(client.size());
}

void SwallowEnterKeys(QDialog& dialog) {
    auto* filter = new EnterKeyFilter(&dialog);
    dialog.installEventFilter(filter);
    // Direct children only: a list's own drop-down keeps Enter for picking an item.
    for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->installEventFilter(filter);
}

QPushButton* AddOkCancel(QDialog& dialog, int okX, int cancelX, int y, QPushButton** cancelOut) {
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("1"));
    ok->setGeometry(FromDialogUnits(okX, y, 50, 14));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    cancel->setObjectName(QStringLiteral("2"));
    cancel->setGeometry(FromDialogUnits(cancelX, y, 50, 14));
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    if (cancelOut) *cancelOut = cancel;
    return ok;
}

} // namespace StdDialogParts
