// DSTVPartReader: reads one DSTV NC part file into a new part object
// (CADPart2, through ICADPart2). The file is in millimetres; the part gets
// inches (every length divided by 25.4).
//
// One reader is embedded in each single-part converter object and is used
// on one thread at a time. It owns the open file between SetFile and the
// end of the file, and one reference to the last part it created until the
// next ReadPart or its destruction.
//
// Results: S_OK a part was read; S_FALSE the file holds no further part;
// E_CONVERT_FILE_OPEN from SetFile when the file cannot be opened;
// E_CONVERT_READ from ReadPart for every reading failure. The text
// out-parameters are freed on entry and set (a new BSTR for the caller)
// with every failure.
#pragma once

#include "DSTVFileReader.h"

#include "halcyra/ConverterServer.h"
#include "halcyra/HalcyraLib.h"

#include "com/ComBstr.h"
#include "com/ComPtr.h"

#include <functional>

class DSTVPartReader : public DSTVFileReader {
public:
    // Creates a new part object and answers it as IUnknown with one
    // reference for the caller. The default creates CLSID_CADPart2 through
    // the component runtime (all server contexts); tests pass a creator of
    // their own so the reader can be exercised without a registered server.
    using PartCreator = ObjectCreator;
    static constexpr auto createRegisteredPart = createRegisteredObject<&CLSID_CADPart2>;

    explicit DSTVPartReader(PartCreator createPart = createRegisteredPart);

    // The new part goes into *ppIUnkCADPart (one reference for the caller)
    // right after it is created, and stays there when the read then fails.
    // The three entry points differ only in how slots are classified.
    HRESULT ReadPart(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric,
                     BSTR* pbstrErrorText);
    HRESULT ReadPartSDS6_336(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric,
                             BSTR* pbstrErrorText);
    HRESULT ReadPartSDSEarlyVersions(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric,
                                     BSTR* pbstrErrorText);

    // Section name and size text from the profile text of the header; uses
    // the profile height, flange width and web thickness already read.
    void ParseProfileName(const CString& profile, CString* section, CString* description,
                          LONG bIsMetric);

    // Tool sizes, tool type ("RD", "SL" or empty) and orientation (degrees)
    // of a hole line from diameter d, slot length l, slot width w (inches)
    // and slot angle a (degrees); a slot moves *x and *u to its centre.
    // Each answers 0.
    static int ClassifyHoleTool(double d, double l, double w, double a, double* x, double* u,
                                double* toolSize1, double* toolSize2, CString* toolType,
                                int* orientation);
    static int ClassifyHoleToolSDS6_336(double d, double l, double w, double a, double* x,
                                        double* u, double* toolSize1, double* toolSize2,
                                        CString* toolType, int* orientation);
    static int ClassifyHoleToolSDSEarlyVersions(double d, double l, double w, double a, double* x,
                                                double* u, double* toolSize1, double* toolSize2,
                                                CString* toolType, int* orientation);

    // Code profile 'L' and surface 'u': orientation = 180 - orientation.
    static int FlipLProfileOrientation(char codeProfile, char surface, int* orientation);

private:
    enum class Variant { Standard, SDS6_336, SDSEarlyVersions };

    // A line of a block that cannot be read; text is the whole report.
    struct LineError {
        CString text;
    };

    // The next number of the line, divided by 25.4.
    static double breakLength(CBreakString* line);
    // An angle in degrees truncated toward zero; one outside the 32-bit
    // range throws CNumericConversionException.
    static int truncateAngle(double degrees);
    // A failed part call raises _com_error with the part's error info.
    void checkPart(HRESULT hr);
    // The tool type as a string of the reader's own: the classifiers give
    // "RD", "SL" or nothing, so each is made once.
    BSTR toolTypeText(const CString& toolType);

    HRESULT readPart(Variant variant, IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric,
                     BSTR* pbstrErrorText);
    HRESULT createPart(IUnknown** ppIUnkCADPart);
    // The ST header after its first line; false (with *errorText) when the
    // code profile cannot be converted.
    bool readHeader(LONG bIsMetric, CString* errorText);
    void nextHeaderLine(CBreakString* line);
    void nextBlockLine(CBreakString* line);
    // The blocks answer the line that ended them.
    CBreakString readMarkingBlock();
    CBreakString readHoleBlock(Variant variant, LONG bIsToolMetric);
    void completePart();

    int AddStencil(char codeProfile, char surface, char dimensionReference, double height,
                   double angle, double x, double u, const CString& text);
    int AddWebOperation(char codeProfile, char surface, char dimensionReference, char operationType,
                        double x, double u, double toolSize1, double toolSize2,
                        const CString& toolType, int orientation, LONG bIsToolMetric);
    int AddFlangeOperation(char codeProfile, char surface, char dimensionReference,
                           char operationType, double x, double u, double toolSize1,
                           double toolSize2, const CString& toolType, int orientation,
                           LONG bIsToolMetric);

    PartCreator m_createPart;

    ComPtrT<ICADPart2> m_pCADPart;
    CString m_section;
    CString m_sectionDescription;
    double m_dProfileHeight = 0;   // inches
    double m_dWebThickness = 0;    // inches
    double m_dFlangeWidth = 0;     // inches
    double m_dFlangeThickness = 0; // inches; read, not used
    double m_dRadius = 0;          // inches; read, not used
    double m_dSpare = 0;           // never used
    double m_dPartLength = 0;      // inches
    double m_dMirrorLength = 0;    // inches; X of "L" profiles is mirrored against it

    // Header values kept for the completion at "EN".
    CString m_order;
    CString m_phase;
    CString m_piece;
    CString m_steelQuality;
    int m_nQuantity = 0;
    char m_codeProfile = 0;

    CComBSTR m_roundToolType;
    CComBSTR m_slotToolType;
    CComBSTR m_noToolType;
    CComBSTR m_otherToolType;
};
