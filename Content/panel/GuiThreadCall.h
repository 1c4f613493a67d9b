#pragma once
// A call from a worker into the window's thread that waits for its end. Everything the
// worker did before the call is seen by the function, and everything the function did is
// seen by the worker afterwards, through standard synchronisation that thread checkers
// understand (Qt's own blocking call hides it from them).
#include <functional>

class QObject;

// Runs fn on context's thread, queued behind what is already waiting there, and returns
// once it has run; on that thread itself it runs fn at once.
void RunOnThreadAndWait(QObject* context, const std::function<void()>& fn);
