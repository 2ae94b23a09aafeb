// The narrow ANSI text of a shape or stencil BSTR, as the records take it.
#pragma once

#include "com/CodePage.h"
#include "com/Types.h"

#include <string>
#include <string_view>

// Up to the BSTR's first NUL; null for a null BSTR.
class NarrowText {
public:
    explicit NarrowText(BSTR bstr) : m_null(bstr == nullptr)
    {
        if (bstr)
            m_text = narrowFromWide(std::u16string_view(bstr));
    }
    const char* get() const { return m_null ? nullptr : m_text.c_str(); }

private:
    bool m_null;
    std::string m_text;
};
