// The conversion log: a plain text file opened for appending (created when
// missing, never truncated), written with "\r\n" line ends.
#pragma once

#include "vlmrlib/CFile.h"

#include <string_view>

class ConversionLog {
public:
    // False when the file cannot be opened; writes then go nowhere.
    bool open(const char* path);
    bool isOpen() const { return m_open; }
    // Writes every byte of the text.
    void write(std::string_view text);
    // "CAD Conversion Begin " with the local time and "\r\n".
    void writeBegin();
    void close();

private:
    CFile m_file;
    bool m_open = false;
};
