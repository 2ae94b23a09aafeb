// Narrow text conversions for the window framework.
#include "Text.h"

#include <algorithm>
#include <cstring>

namespace ui::detail {

QString fromNarrow(LPCSTR text)
{
    return text ? QString::fromUtf8(text) : QString();
}

std::string toNarrow(const QString& text)
{
    return text.toStdString();
}

int copyText(const std::string& text, LPSTR buffer, int size)
{
    if (!buffer || size <= 0)
        return 0;
    const int n = std::min(static_cast<int>(text.size()), size - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

} // namespace ui::detail
