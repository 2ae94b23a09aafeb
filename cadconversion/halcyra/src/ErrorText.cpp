// The texts of the part objects' error reports.
#include "ErrorText.h"

#include "com/CodePage.h"
#include "com/server/Module.h"
#include "com/server/Resources.h"

std::u16string comErrorText(const _com_error& error, UINT nID, const char16_t* pszFallback)
{
    std::u16string text = wideFromNarrow(error.ErrorMessage());
    // The method's text is read into a buffer of 254 characters.
    OLECHAR buffer[254];
    const std::u16string_view method =
        LoadString(CComModule::GetResourceInstance(), nID, buffer, 254) > 0
            ? std::u16string_view(buffer)
            : std::u16string_view(pszFallback);
    if (!text.empty())
        text += u"\r\n";
    text += method;
    // The failing server's own description (say, the database's), after.
    const _bstr_t description = error.Description();
    if (description.length() > 0) {
        text += u"\r\n";
        text += std::u16string_view(static_cast<const OLECHAR*>(description), description.length());
    }
    return text;
}
