#include "ErrorBox.h"

#include "DebugTrace.h"
#include "GUITextTable.h"
#include "GuiThreadCall.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>

namespace {
std::atomic<ErrorBoxSink*> g_pErrorBoxSink{nullptr};
}

ErrorBoxSink* SetErrorBoxSink(ErrorBoxSink* sink) {
    return g_pErrorBoxSink.exchange(sink);
}

void ShowErrorMessage(int messageIndex) {
    ShowErrorText(GUITextTable::Instance().GetMessage(messageIndex));
}

void ShowErrorText(const QString& text, const QString& caption) {
    RZ8_TRACE("[D][Error]ShowErrorText %s\n", qUtf8Printable(text));
    QCoreApplication* app = QCoreApplication::instance();
    auto show = [text, caption] {
        if (ErrorBoxSink* sink = g_pErrorBoxSink.load()) sink->ShowErrorBox(caption, text);
    };
    if (!app || QThread::currentThread() == app->thread()) {
        show();
        return;
    }
    if (QCoreApplication::closingDown()) return; // no GUI thread left to answer
    // Widgets live on the GUI thread only: ask it, and wait for the box to be dismissed.
    RunOnThreadAndWait(app, show);
}
