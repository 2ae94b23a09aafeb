// Section names compared without regard to case.
#include "SectionName.h"

#include "com/Bstr.h"

namespace {
char16_t lowerAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
} // namespace

bool sectionIs(BSTR section, std::u16string_view name)
{
    const std::u16string_view text(section ? section : u"", SysStringLen(section));
    if (text.size() != name.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (lowerAscii(text[i]) != lowerAscii(name[i]))
            return false;
    return true;
}
