// Narrow (8-bit, UTF-8) text to and from Qt strings, and copying a text
// into a caller's buffer the way the Win32 text calls do.
#pragma once

#include "com/Types.h"

#include <QString>

#include <string>

namespace ui::detail {

QString fromNarrow(LPCSTR text);
std::string toNarrow(const QString& text);
// Copies at most size - 1 bytes and a NUL; answers the bytes copied.
int copyText(const std::string& text, LPSTR buffer, int size);

} // namespace ui::detail
