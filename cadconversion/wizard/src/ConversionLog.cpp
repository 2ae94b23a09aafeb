// The conversion log file.
#include "wizard/ConversionLog.h"

#include <ctime>
#include <string>

bool ConversionLog::open(const char* path)
{
    m_open =
        path && m_file.Open(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    if (m_open)
        m_file.SeekToEnd();
    return m_open;
}

void ConversionLog::write(std::string_view text)
{
    if (m_open)
        m_file.Write(text.data(), static_cast<UINT>(text.size()));
}

void ConversionLog::writeBegin()
{
    char stamp[128] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr ||
        std::strftime(stamp, sizeof stamp, "%A, %B %d, %Y at %H:%M", &local) == 0)
        stamp[0] = '\0';
    write(std::string("CAD Conversion Begin ") + stamp + "\r\n");
}

void ConversionLog::close()
{
    if (m_open)
        m_file.Close();
    m_open = false;
}
