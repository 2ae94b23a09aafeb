// Window timers: WM_TIMER to a window at an interval, from a Qt timer that
// belongs to the window's widget and so ends with it.
#include "WindowTable.h"

#include <QPointer>
#include <QTimer>

#include <map>
#include <utility>

using namespace ui::detail;

namespace {

// Touched on the GUI thread only. A timer whose window has gone is null.
std::map<std::pair<HWND, UINT_PTR>, QPointer<QTimer>>& timers()
{
    static std::map<std::pair<HWND, UINT_PTR>, QPointer<QTimer>> instance;
    return instance;
}

void forgetEnded()
{
    auto& all = timers();
    for (auto it = all.begin(); it != all.end();)
        it = it->second ? std::next(it) : all.erase(it);
}

} // namespace

UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC timerProc)
{
    UINT_PTR result = 0;
    ui::runOnGuiThread([&] {
        Window* window = find(hWnd);
        if (!window || !window->widget || timerProc)
            return;
        forgetEnded();
        QPointer<QTimer>& timer = timers()[{hWnd, id}];
        if (!timer) {
            timer = new QTimer(window->widget);
            QObject::connect(timer, &QTimer::timeout,
                             [hWnd, id] { deliver(hWnd, WM_TIMER, id, 0); });
        }
        timer->start(static_cast<int>(elapse));
        result = id;
    });
    return result;
}

BOOL KillTimer(HWND hWnd, UINT_PTR id)
{
    BOOL killed = FALSE;
    ui::runOnGuiThread([&] {
        auto it = timers().find({hWnd, id});
        if (it == timers().end())
            return;
        killed = it->second ? TRUE : FALSE;
        delete it->second.data();
        timers().erase(it);
    });
    return killed;
}
