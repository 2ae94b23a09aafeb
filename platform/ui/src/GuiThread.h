// The GUI thread and the signal that wakes a thread waiting in PeekMessage
// when another thread hands it work or a worker ends.
#pragma once

#include <cstdint>

namespace ui::detail {

std::uint64_t activityCount();
void signalActivity();
// Waits until the count differs from seen or a millisecond has passed.
void waitForActivity(std::uint64_t seen);

} // namespace ui::detail
