// MachineFileReader: reads one machine part file (one part per file) into a
// new plain part object (CADPart, through ICADPart). One reader serves the
// three versions of the file; what a version does differently comes from
// its MachineFileVersion.
//
// The file: a mark line, a designation line, a header of numbers (lengths
// in tenths of a millimetre), a tool table of nine tokens, the count of
// hole lines and the hole lines (positions in micrometres, or in tenths of
// a millimetre in version 1.0). The part gets inches.
//
// One reader is embedded in each converter object and is used on one
// thread at a time. It owns the open file between SetFile and the end of
// the file, and one reference to the last part it created until the next
// ReadPart or its destruction.
//
// Results: S_OK a part was read; S_FALSE the file holds no further part;
// failures with a text for the converter's error info:
//   E_CONVERT_FILE_OPEN       SetFile: the file cannot be opened
//   E_CONVERT_UNEXPECTED_EOF  the file ends inside the part
//   E_CONVERT_NUMERIC         a token that should be a number is none
//   E_CONVERT_BAD_CODE        a hole line names a tool outside the table, or
//                             is too short to hold a position
//   a part call's own HRESULT
//   E_UNEXPECTED              anything else, among it a face code that the
//                             section's profile family does not allow
// Every failure text of ReadPart ends with the file name and the line
// ("File Name:<name>\r\nLine:<number>").
#pragma once

#include "CTool.h"
#include "MachineFileVersion.h"

#include "halcyra/ConverterServer.h"
#include "halcyra/HalcyraLib.h"

#include "com/ComPtr.h"
#include "vlmrlib/CString.h"
#include "vlmrlib/CTextFile.h"

#include <functional>

class MachineFileReader {
public:
    // Creates a new part object and answers it as IUnknown with one
    // reference for the caller. The default creates CLSID_CADPart through
    // the component runtime (all server contexts); tests pass a creator of
    // their own so the reader can be exercised without a registered server.
    using PartCreator = ObjectCreator;
    static constexpr auto createRegisteredPart = createRegisteredObject<&CLSID_CADPart>;

    explicit MachineFileReader(const MachineFileVersion& version,
                               PartCreator createPart = createRegisteredPart);
    MachineFileReader(const MachineFileReader&) = delete;
    MachineFileReader& operator=(const MachineFileReader&) = delete;
    ~MachineFileReader();

    // Closes an open file, then opens the named one: S_OK, or a failing
    // HRESULT with *errorText set.
    HRESULT SetFile(BSTR bstrFilename, CString* errorText);

    // The new part goes into *ppIUnkCADPart (one reference for the caller)
    // before anything is read, and stays there on S_FALSE and on failure.
    // The two flags are not read: the file carries its own units.
    HRESULT ReadPart(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric,
                     CString* errorText);

    // 0 opened, 1 failed; an open file is closed first.
    int OpenConvertFile(BSTR bstrFilename);
    // 0; closes the file when it is open.
    int CloseConvertFile();

private:
    // A hole line that cannot be placed; text says why.
    struct HoleLineRefusal {
        CString text;
    };

    enum class Face { Web, BottomFlange, TopFlange, Other };

    // One hole line as the file codes it: positions in the version's unit.
    struct HoleLine {
        double x = 0;
        double y = 0;
        int face = 0; // face code
        int tool = 0; // tool code: tool number and mirror digit, 0 a mark
    };

    void createPart(IUnknown** ppIUnkCADPart);
    // A failing part call raises _com_error with the part's error info.
    void checkPart(HRESULT hr);

    // The next white-space delimited token; 0 at the end of the file.
    BOOL ReadToken(CString* token);
    // The next token, or CUnexpectedEOF.
    CString requireToken();
    int requireInteger();
    double requireDouble();
    // A header length: tenths of a millimetre to inches.
    double requireLength();
    // Reads up to and including the next line end.
    void skipRestOfLine();
    // Whether the token ahead has more than one character (a look-ahead).
    bool HasMultiCharDesignation();
    // Whether another token stands before the end of the current line (a
    // look-ahead).
    bool tokenFollowsOnLine();
    CString readDesignation();

    // The hole lines of the part being read: S_OK, or E_CONVERT_BAD_CODE
    // for a face code that the section's profile family does not allow.
    HRESULT ConvertHoleLines();
    // Reads the next hole line; false when the line is to be skipped.
    bool readHoleLine(HoleLine* line);
    bool readTwoNumbers(HoleLine* line);
    bool readPackedMicrometres(HoleLine* line);
    bool readPackedTenths(HoleLine* line);
    // Places one hole or mark on the part: S_OK, also for a line that the
    // section's family skips, or E_CONVERT_BAD_CODE.
    HRESULT placeHoleLine(const HoleLine& line);
    HRESULT placeHole(int index, Face face, double x, double y);
    HRESULT placeMark(Face face, double x, double y);

    // The text of the file from start to the current position, trimmed.
    CString textSince(ULONGLONG start);
    // text, then "\r\nFile Name:<name>\r\nLine:<number>" of the line being
    // read (vlmrlib/FileAndLine.h).
    CString withFileAndLine(const CString& text) const;
    // Called inside a catch block: the report of the exception in flight.
    CString readFailureText(HRESULT* hr) const;

    const MachineFileVersion& m_version;
    PartCreator m_createPart;

    CString m_section;         // chooses the profile family of the hole lines
    double m_dFlangeWidth = 0; // inches
    double m_dPartLength = 0;  // inches
    int m_bFileOpen = 0;
    CTextFile m_file;
    ComPtrT<ICADPart> m_pCADPart;
    int m_nHoleLines = 0;      // hole lines still to be read for the part
    CTool m_tools[9];          // tools 1 to 3 on the web, bottom and top flange
    ULONGLONG m_lineStart = 0; // file position before the hole line being read
};
