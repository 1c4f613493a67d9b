#pragma once
// The durations and box-ID dialogs as the main frame sees them, and the parts they share.
#include "SettingFile.h"

#include <QRect>
#include <QString>

#include <cstdint>

class QDialog;
class QPushButton;
class QWidget;

// How the main frame runs its two standard dialogs; tests install a scripted one.
class StdDialogs {
public:
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    virtual ~StdDialogs() = default;
    // Runs the durations dialog modally on setting; IDOK or IDCANCEL.
    virtual int RunSettingDlg(SettingDurationInfo& setting, QWidget* owner) = 0;
    // Runs the box-ID dialog with count IDs; on IDOK boxId holds the choice.
    virtual int RunDevBoxIdentifyDlg(uint8_t count, uint8_t& boxId, QWidget* owner) = 0;
};

// The real dialogs, exec()'d modally over owner.
StdDialogs& RealStdDialogs();

// What the two dialogs share: they are laid out in dialog units and read their lists the
// same way.
namespace StdDialogParts {

// Pixel rectangle of a dialog-unit rectangle at the 8 pt UI font.
QRect FromDialogUnits(int x, int y, int width, int height);

// The decimal number the text starts with (leading blanks and one sign allowed, reading
// stops at the first non-digit); 0 when there is none. Saturates at the int range.
int LeadingDecimal(const QString& text);

// Puts a drop-down list at row's left and width, at its own height, centred on the row so
// it lines up with the row's caption.
void PlaceOnRow(QWidget* list, const QRect& row);

// Caption, 8 pt font, a close box without a help button, and a fixed client area of
// width x height dialog units.
void SetUpFrame(QDialog& dialog, const QString& caption, int width, int height);

// Enter and Return do nothing anywhere in the dialog, not even on a focused button: the
// operator confirms with OK, so a stray Enter cannot confirm. Escape still cancels. Call
// once the controls exist.
void SwallowEnterKeys(QDialog& dialog);

// The default "OK" (object name "1") at okX and "Cancel" ("2") at cancelX on row y,
// both 50 x 14 dialog units; Cancel rejects. Returns OK, for its own handler and the
// tab order.
QPushButton* AddOkCancel(QDialog& dialog, int okX, int cancelX, int y, QPushButton** cancelOut);

} // namespace StdDialogParts
