// RecordReader: the framework of the record converters. A record export
// file is a stream of white-space delimited tokens: one record per part,
// each followed by its hole lines, read until no token is left. The reader
// owns the open file between SetFile and its end, and the tool slots whose
// values carry from record to record.
//
// Record (every CAD system, in reading order): job, group ("_" stands for
// "NONE"), mark, length, section, the section's dimension fields (they
// differ by system: ReadSectionDescription), quantity, five tool
// definitions (size 1, size 2, shape; slots web, TF near, TF far, BF near,
// BF far), the hole-line count, then the hole lines (ConvertHoleLines).
// Values go into the part as the file holds them: no unit conversion.
//
// Results: S_OK a part was read; S_FALSE the file holds no further record
// (it is closed then); a failure HRESULT with a text for the caller's COM
// error info, which ends with the file's name and the line being read.
// Used on one thread at a time.
#pragma once

#include "recordconverters/Tool.h"

#include "halcyra/ConverterServer.h"
#include "halcyra/HalcyraLib.h"

#include "com/ComPtr.h"
#include "vlmrlib/CTextFile.h"

#include <functional>

class RecordReader {
public:
    // Creates a new part object and answers it as IUnknown with one
    // reference for the caller. The default creates CLSID_CADPart through
    // the component runtime (all server contexts); tests pass their own.
    using PartCreator = ObjectCreator;
    static constexpr auto createRegisteredPart = createRegisteredObject<&CLSID_CADPart>;

    // What sets one CAD system's records apart besides the dimension
    // fields.
    struct Format {
        CTool::ShapeRule toolRule;
        bool bFLIsFB; // a section "FL" is stored as "FB"
        // Where the error log places a failing hole-line result.
        const char* holeLinesSource;
        int holeLinesSourceLine;
    };

    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;
    virtual ~RecordReader();

    // S_OK, or E_CONVERT_FILE_OPEN with *errorText when the file cannot be
    // opened; an open file is closed first. The tool slots keep their
    // values.
    HRESULT SetFile(BSTR bstrFilename, CString* errorText);

    // Reads the next record into a new part. The part goes into
    // *ppIUnkCADPart (one reference for the caller) before anything is
    // read and stays there when the call answers S_FALSE or fails; it then
    // holds what was put into it so far. Neither flag is read.
    HRESULT ReadPart(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric,
                     CString* errorText);

    // 0 opened, 1 not opened. A UTF-8 byte-order mark at the start of the
    // file is skipped.
    int OpenConvertFile(BSTR bstrFilename);
    // 0; closes the file when it is open.
    int CloseConvertFile();
    // Non-zero when a token was read into *token; 0 at the end of the file,
    // with *token empty.
    BOOL ReadToken(CString* token);

    // Converts the m_nNumHoleLines hole lines behind the record into holes,
    // marks and stencils of m_pPart and into tool slots: S_OK, or
    // E_CONVERT_BAD_CODE at the first unknown code (the lines behind it stay
    // unread). Raises CUnexpectedEOF or CNumericConversionException with
    // "Error in Convert holes" added, and the part calls' COM errors.
    HRESULT ConvertHoleLines();

protected:
    RecordReader(const Format& format, PartCreator createPart);

    // Reads the dimension fields behind the section and answers the
    // section description built from them.
    virtual CString ReadSectionDescription(const CString& section) = 0;
    // The job, group, mark, section and tool shape texts as they are stored.
    virtual CString FixText(const CString& token) const { return token; }

    // The next token or number; the end of the file raises CUnexpectedEOF.
    CString readText();
    double readDouble();
    int readInteger();

    int m_bFileOpen = 0;
    CTextFile m_File;
    ComPtrT<ICADPart> m_pPart;
    int m_nNumHoleLines = 0;
    CTool m_WebTool;
    CTool m_TFNearTool;
    CTool m_TFFarTool;
    CTool m_BFNearTool;
    CTool m_BFFarTool;

private:
    void createPart(IUnknown** ppIUnkCADPart);
    HRESULT readRecord();
    // A failed part call raises _com_error with the part's HRESULT.
    void check(HRESULT hr);
    void putText(HRESULT (ICADPart::*put)(BSTR), const CString& text);
    // False for a code outside the table.
    bool convertHoleLine(double dXPos, double dUPos, int nUnit, const CString& extra);
    void putHole(HRESULT (ICADPart::*set)(double, double, double, double, BSTR, INT), double dXPos,
                 double dUPos, const CTool& tool);
    void putStencil(HRESULT (ICADPart::*set)(double, double, BSTR), double dXPos, double dUPos,
                    const CString& text);
    // text, then "\r\nFile Name:<name>\r\nLine:<number>" of the line being
    // read (vlmrlib/FileAndLine.h); text alone before any file was set.
    CString withFileAndLine(const CString& text) const;

    Format m_format;
    PartCreator m_createPart;
};
