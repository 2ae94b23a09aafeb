// CBreakString: the front-consuming word, number and path operations.
#include "vlmrlib/CBreakString.h"

#include "TextRules.h"

#include "vlmrexcept/CvmException.h"

#include <string_view>

namespace {

template <class T, class Scan, class Parse>
void breakNumber(std::string& text, T* value, Scan scan, Parse parse, const char* kind)
{
    std::size_t start = 0;
    while (start < text.size() && vlmr_detail::isWhiteSpace(text[start]))
        ++start;
    std::string_view rest = std::string_view(text).substr(start);
    std::size_t length = scan(rest);
    T parsed{};
    if (length == 0 || !parse(rest.substr(0, length), &parsed)) {
        CNumericConversionException error;
        error.SetMessage((std::string(kind) + vlmr_detail::quotedWord(rest) + ". ").c_str());
        throw error;
    }
    if (value)
        *value = parsed;
    text.erase(0, start + length);
}

} // namespace

CBreakString& CBreakString::operator=(const CString& text)
{
    CString::operator=(text);
    return *this;
}

CBreakString& CBreakString::operator=(const char* text)
{
    CString::operator=(text);
    return *this;
}

CBreakString& CBreakString::TrimWhiteSpace()
{
    TrimRight();
    TrimLeft();
    return *this;
}

// One erase takes the word and the white space on either side of it.
BOOL CBreakString::BreakText(CString* word)
{
    std::size_t start = 0;
    while (start < m_text.size() && vlmr_detail::isWhiteSpace(m_text[start]))
        ++start;
    std::size_t end = start;
    while (end < m_text.size() && !vlmr_detail::isWhiteSpace(m_text[end]))
        ++end;
    if (word == this) {
        m_text = m_text.substr(start, end - start);
        return end > start ? TRUE : FALSE;
    }
    if (word)
        word->SetString(m_text.data() + start, static_cast<int>(end - start));
    std::size_t next = end;
    while (next < m_text.size() && vlmr_detail::isWhiteSpace(m_text[next]))
        ++next;
    m_text.erase(0, next);
    return end > start ? TRUE : FALSE;
}

void CBreakString::BreakInteger(int* value)
{
    breakNumber(m_text, value, vlmr_detail::scanInteger, vlmr_detail::parseInteger,
                "Not an integer: ");
}

void CBreakString::BreakDouble(double* value)
{
    breakNumber(m_text, value, vlmr_detail::scanDouble, vlmr_detail::parseDouble, "Not a number: ");
}

CString CBreakString::Break(int count)
{
    CString front = Left(count);
    m_text.erase(0, static_cast<std::size_t>(front.GetLength()));
    return front;
}

int CBreakString::FindDelimit(const char* delimit) const
{
    return delimit && *delimit ? Find(delimit) : -1;
}

CString CBreakString::ConvertPath(CString* text)
{
    if (!text)
        return CString();
    std::string_view path(*text, static_cast<std::size_t>(text->GetLength()));
    auto isSeparator = [](char c) { return c == '/' || c == '\\'; };
    while (!path.empty() && isSeparator(path.back()))
        path.remove_suffix(1);
    std::size_t cut = path.find_last_of("/\\");
    if (cut != std::string_view::npos)
        path.remove_prefix(cut + 1);
    *text = CString(path.data(), static_cast<int>(path.size()));
    return *text;
}
