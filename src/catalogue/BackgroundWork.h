#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <utility>

// Work that would hold up the main thread (reading a long reply, the
// arithmetic on it) runs on one worker thread, and its result comes back to
// the main thread through the event loop.
namespace BackgroundWork {

// The pool with the one worker thread. It lives on the thread that first
// asks for it (the main thread) and receives the queued deliveries; as it
// waits for its work before it goes, a delivery never targets a freed object.
QThreadPool &pool();

// Runs `work()` on the worker thread, then `deliver(result)` on the main
// thread, and not at all once `context` is gone (a null context means it is
// always delivered). One worker keeps the order: results arrive in the order
// the work was started.
template<typename Work, typename Deliver>
void run(QObject *context, Work work, Deliver deliver)
{
    QThreadPool &target = pool();
    // The guard is copied and dropped on the worker, which is safe; it is
    // only read on the main thread.
    const bool guarded = context != nullptr;
    QPointer<QObject> guard(context);
    target.start([&target, guarded, guard, work = std::move(work), deliver = std::move(deliver)]() mutable {
        auto result = work();
        QMetaObject::invokeMethod(
            &target,
            [guarded, guard, deliver = std::move(deliver), result = std::move(result)]() mutable {
            if (guarded && !guard)
                return;
            deliver(std::as_const(result));
        },
            Qt::QueuedConnection);
    });
}

} // namespace BackgroundWork
