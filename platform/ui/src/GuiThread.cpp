// Hands work over to the GUI thread and lets waiting threads know about it.
#include "GuiThread.h"

#include "ui/Window.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>

namespace ui::detail {
namespace {

struct Activity {
    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t count = 0;
};

Activity& activity()
{
    static Activity instance;
    return instance;
}

} // namespace

std::uint64_t activityCount()
{
    std::lock_guard lock(activity().mutex);
    return activity().count;
}

void signalActivity()
{
    {
        std::lock_guard lock(activity().mutex);
        ++activity().count;
    }
    activity().changed.notify_all();
}

void waitForActivity(std::uint64_t seen)
{
    std::unique_lock lock(activity().mutex);
    activity().changed.wait_for(lock, std::chrono::milliseconds(1),
                                [seen] { return activity().count != seen; });
}

} // namespace ui::detail

namespace ui {

bool isGuiThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void runOnGuiThread(const std::function<void()>& work)
{
    if (isGuiThread()) {
        work();
        return;
    }
    std::exception_ptr error;
    QSemaphore done;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&] {
            try {
                work();
            } catch (...) {
                error = std::current_exception();
            }
            done.release();
        },
        Qt::QueuedConnection);
    detail::signalActivity();
    done.acquire();
    if (error)
        std::rethrow_exception(error);
}

} // namespace ui
