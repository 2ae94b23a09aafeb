// Narrow text conversions for the window framework, in the platform's code
// page (UTF-8, with stray bytes read as Windows-1252).
#include "Text.h"

#include "com/CodePage.h"

#include <algorithm>
#include <cstring>

namespace ui::detail {

QString fromNarrow(LPCSTR text)
{
    if (!text)
        return QString();
    const std::u16string wide = wideFromNarrow(text);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string toNarrow(const QString& text)
{
    return narrowFromWide(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                              static_cast<std::size_t>(text.size())));
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
