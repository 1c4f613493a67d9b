#pragma once
// The operator's error box: modal, caption "Quorvane Error...", critical icon, one OK
// button, text from the message list. The box itself is drawn by an ErrorBoxSink; the
// application installs the widget one, tests install their own.
#include <QString>

inline const QString kErrorBoxCaption = QStringLiteral("Quorvane Error...");

class ErrorBoxSink {
public:
    virtual ~ErrorBoxSink() = default;
    // Shows the box and returns once the operator has dismissed it. Always called on
    // the GUI thread.
    virtual void ShowErrorBox(const QString& caption, const QString& text) = 0;
};

// Installs the sink (not owned; nullptr: trace only). Returns the previous one.
ErrorBoxSink* SetErrorBoxSink(ErrorBoxSink* sink);

// Shows message `messageIndex` of the text table and waits until it is dismissed.
// Safe from any thread: a worker hands the box to the GUI thread and waits for it.
void ShowErrorMessage(int messageIndex);

// The same with a text (and a caption) of the caller's.
void ShowErrorText(const QString& text, const QString& caption = kErrorBoxCaption);
