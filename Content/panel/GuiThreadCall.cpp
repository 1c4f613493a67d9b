#include "GuiThreadCall.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <future>
#include <mutex>

namespace {
// Held while a call is handed over, taken again where it runs: the hand-over itself
// then orders the worker's writes before the call.
std::mutex g_handOver;
} // namespace

void RunOnThreadAndWait(QObject* context, const std::function<void()>& fn) {
    if (QThread::currentThread() == context->thread()) {
        fn();
        return;
    }
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    {
        std::lock_guard<std::mutex> lock(g_handOver);
        QMetaObject::invokeMethod(
            context,
            [&fn, &done] {
                { std::lock_guard<std::mutex> handedOver(g_handOver); }
                fn();
                done.set_value();
            },
            Qt::QueuedConnection);
    }
    finished.wait();
}
