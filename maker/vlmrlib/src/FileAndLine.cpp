// The file-and-line end of reader failure texts.
#include "vlmrlib/FileAndLine.h"

#include <string_view>

CString FileAndLineText(const CTextFile& file, const char* fileNameLabel, const char* lineLabel)
{
    return FileAndLineText(file.GetFileName(), file.GetLineNumber(), fileNameLabel, lineLabel);
}

CString FileAndLineText(const CString& fileName, int line, const char* fileNameLabel,
                        const char* lineLabel)
{
    CString number;
    number.Format("%d", line);
    return CString(fileNameLabel) + fileName + "\r\n" + lineLabel + number;
}

CString AppendFileAndLine(const CString& text, const CTextFile& file, const char* fileNameLabel,
                          const char* lineLabel)
{
    const CString suffix = "\r\n" + FileAndLineText(file, fileNameLabel, lineLabel);
    const std::string_view whole(text, static_cast<std::size_t>(text.GetLength()));
    const std::string_view end(suffix, static_cast<std::size_t>(suffix.GetLength()));
    if (whole.size() >= end.size() && whole.substr(whole.size() - end.size()) == end)
        return text;
    return text + suffix;
}
