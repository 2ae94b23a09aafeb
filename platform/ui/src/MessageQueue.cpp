// Sent and posted messages. A sent message runs the window procedure on the
// GUI thread while the sender waits; a posted one waits in a queue that the
// GUI thread's event loop or PeekMessage empties.
#include "GuiThread.h"
#include "WindowTable.h"

#include <QCoreApplication>

#include <deque>
#include <mutex>

using namespace ui::detail;

namespace {

struct PostedQueue {
    std::mutex mutex;
    std::deque<MSG> messages;
};

PostedQueue& posted()
{
    static PostedQueue instance;
    return instance;
}

bool takePosted(MSG* msg, HWND hWnd, UINT low, UINT high)
{
    std::lock_guard lock(posted().mutex);
    auto& queue = posted().messages;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        const bool window = !hWnd || it->hwnd == hWnd;
        const bool range = (low == 0 && high == 0) || (it->message >= low && it->message <= high);
        if (window && range) {
            *msg = *it;
            queue.erase(it);
            return true;
        }
    }
    return false;
}

} // namespace

LRESULT SendMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    ui::runOnGuiThread([&] { result = deliver(hWnd, msg, wParam, lParam); });
    return result;
}

BOOL PostMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !hWnd)
        return FALSE;
    {
        std::lock_guard lock(posted().mutex);
        posted().messages.push_back(MSG{hWnd, msg, wParam, lParam, 0, {0, 0}});
    }
    // Each post queues one delivery; a message PeekMessage took already
    // leaves its delivery with nothing or with the next message to hand.
    QMetaObject::invokeMethod(
        app,
        [] {
            MSG next;
            if (takePosted(&next, nullptr, 0, 0))
                DispatchMessage(&next);
        },
        Qt::QueuedConnection);
    signalActivity();
    return TRUE;
}

BOOL PeekMessage(LPMSG msg, HWND hWnd, UINT low, UINT high, UINT remove)
{
    if (!msg)
        return FALSE;
    MSG found;
    if (takePosted(&found, hWnd, low, high)) {
        if (!(remove & PM_REMOVE)) {
            std::lock_guard lock(posted().mutex);
            posted().messages.push_front(found);
        }
        *msg = found;
        return TRUE;
    }
    if (!ui::isGuiThread())
        return FALSE;
    const std::uint64_t seen = activityCount();
    QCoreApplication::processEvents();
    waitForActivity(seen);
    return FALSE;
}

BOOL TranslateMessage(const MSG*)
{
    return FALSE;
}

LRESULT DispatchMessage(const MSG* msg)
{
    return msg ? SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0;
}
