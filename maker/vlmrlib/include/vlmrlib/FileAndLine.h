// Where a reader failed, in the form every reader failure text ends with:
// the reader's own text, then "\r\n", "File Name:" directly followed by the
// file's name, "\r\n", "Line:" directly followed by the number of the line
// being read (CTextFile::GetLineNumber), in decimal. The two labels come
// from the reading server's string table; the defaults are their texts.
//
//   text = AppendFileAndLine(text, m_file, loaded(IDS_FILE_NAME), loaded(IDS_LINE));
#pragma once

#include "vlmrlib/CString.h"
#include "vlmrlib/CTextFile.h"

// "File Name:<name>\r\nLine:<number>"
CString FileAndLineText(const CTextFile& file,
                        const char* fileNameLabel = "File Name:", const char* lineLabel = "Line:");
// The same of a file's name and a line of its choice, for a reader that
// reports a line other than the one being read (where the failing item
// began).
CString FileAndLineText(const CString& fileName, int line,
                        const char* fileNameLabel = "File Name:", const char* lineLabel = "Line:");

// text + "\r\n" + FileAndLineText(file, ...). A text that already ends with
// that (an end-of-file report, which names them itself) comes back as it is.
CString AppendFileAndLine(const CString& text, const CTextFile& file,
                          const char* fileNameLabel = "File Name:",
                          const char* lineLabel = "Line:");
