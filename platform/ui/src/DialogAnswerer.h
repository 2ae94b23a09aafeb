// Asks the test hook for the answer to a message box or file dialog.
#pragma once

#include "ui/TestHooks.h"

namespace ui::detail {

std::optional<DialogAnswer> askAnswerer(const DialogRequest& request);

} // namespace ui::detail
