// CRefPlane: the reference plane of the part writer.
#include "RefPlane.h"

#include "TarsisCall.h"

#include "com/Bstr.h"
#include "com/ComError.h"

#include <array>

namespace {

// A one-character string for every 8-bit character, made once for the
// module and freed when it unloads: planes are sent for every operation,
// and the writer only reads its string arguments.
class OneCharacterStrings {
public:
    OneCharacterStrings()
    {
        for (std::size_t c = 0; c < m_strings.size(); ++c) {
            const char text[] = {static_cast<char>(c), '\0'};
            m_strings[c] = bstrFromNarrow(text);
        }
    }
    OneCharacterStrings(const OneCharacterStrings&) = delete;
    OneCharacterStrings& operator=(const OneCharacterStrings&) = delete;
    ~OneCharacterStrings()
    {
        for (BSTR text : m_strings)
            SysFreeString(text);
    }
    BSTR of(char c) const { return m_strings[static_cast<unsigned char>(c)]; }

private:
    std::array<BSTR, 256> m_strings{};
};

BSTR oneCharacter(char c)
{
    static const OneCharacterStrings strings;
    BSTR text = strings.of(c);
    if (!text)
        _com_issue_error(E_OUTOFMEMORY);
    return text;
}

} // namespace

int CRefPlane::SetRefPlane(ITarsisPartWriter* pPartWriter, double d1, double d2, double d3,
                           double d4, char c1, char c2, char c3)
{
    checkTarsisResult(
        invokeTarsis(pPartWriter, tarsis_part_writer::SetRefPlane,
                     {argR8(d1), argR8(d2), argR8(d3), argR8(d4), argBstr(oneCharacter(c1)),
                      argBstr(oneCharacter(c2)), argBstr(oneCharacter(c3))}));
    return 0;
}
