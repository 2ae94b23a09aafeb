// What a conversion run shows on its page: the entry being converted, each
// entry's mark ("     Complete", "     Error") and the current job, group
// and mark. The worker hands each change over without waiting for the
// user-interface thread, which shows the changes in order, a frame's worth
// at a time, so that neither thread sets the other's pace.
#pragma once

#include "wizard/ListBoxExtent.h"

#include <chrono>
#include <deque>
#include <mutex>
#include <string>

class ConversionDisplay {
public:
    // The user-interface thread's share of one hand-over: at most this long
    // at a time, so that it stays free for the user's input and painting.
    static constexpr std::chrono::milliseconds kBudget{4};

    // Worker side. Each call posts `wake` to the page unless a hand-over
    // is already on its way.
    void select(int index);
    // The entry's text becomes text, and the list's extent widens to it.
    void mark(int index, std::string text);
    void show(std::string job, std::string group, std::string mark);
    void setPage(HWND page, UINT wake);

    // User-interface side: shows the waiting changes on the page's list and
    // texts until they are all shown (true) or the budget is spent (false).
    // Of several selections or current texts waiting, only the last is
    // shown.
    bool apply(CListBoxExtent& list, std::chrono::steady_clock::duration budget);
    // Drops what still waits (the page is going).
    void clear();

private:
    struct Change {
        enum class Kind { Select, Mark, Show } kind;
        int index = 0;
        std::string text; // Mark: the entry's text; Show: the job
        std::string group;
        std::string mark;
    };
    void hand(Change change);

    std::mutex m_mutex;
    std::deque<Change> m_changes;
    int m_selects = 0; // Select changes waiting
    int m_shows = 0;   // Show changes waiting
    bool m_woken = false;
    HWND m_page = nullptr;
    UINT m_wake = 0;
};
