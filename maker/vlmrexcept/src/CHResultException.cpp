// The failed-HRESULT exception and its text.
#include "vlmrexcept/CHResultException.h"

#include <cstdio>

CHResultException::CHResultException(const char* sourceFile, int line, HRESULT hr)
    : m_file(sourceFile ? sourceFile : ""), m_line(line), m_hr(hr)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    m_message = "HRESULT " + std::string(code) + " at " + m_file + "(" + std::to_string(line) + ")";
}
