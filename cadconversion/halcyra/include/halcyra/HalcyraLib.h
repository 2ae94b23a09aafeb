// HalcyraLib: the interfaces through which the converters, the wizard and
// the part-model server meet, with their GUIDs, the converter component
// category and the error codes that converters and part objects return.
// Include it alone; nothing here needs the server's library.
//
// Every interface is an abstract class whose virtual functions stand in
// slot order (after IUnknown's three, and IDispatch's four for the dual
// ones). Ownership: a BSTR argument stays the caller's; a BSTR or interface
// returned through an out-parameter belongs to the caller.
#pragma once

#include "com/Guid.h"
#include "com/Interfaces.h"
#include "com/Types.h"

// ---- Type library, classes, category ----------------------------------------

inline constexpr GUID LIBID_HALCYRALib = guidOf("BA2EF005-F351-11D2-A3F9-00A0249F4DED");

inline constexpr CLSID CLSID_CADPart = guidOf("BA2EF012-F351-11D2-A3F9-00A0249F4DED");
inline constexpr CLSID CLSID_CADPart2 = guidOf("62CE9C4D-0BEB-4B94-878B-F9B1B383B4CC");
inline constexpr CLSID CLSID_CADMult = guidOf("7989D77D-2FF8-4DB3-830D-144DFC029056");

// The category every converter class implements; the part-model server
// creates it when it is registered.
inline constexpr CATID CATID_VelmoraCadConversion = guidOf("06A6380A-F261-11D2-A3F7-00A0249F4DED");
inline constexpr const char* kVelmoraCadConversionDescription = "Velmora Cad Conversion";

inline constexpr IID IID_IVLMRConvert = guidOf("39E39A27-0B5D-11D2-AA01-008029E54FFB");
inline constexpr IID IID_IVLMRMultConvert = guidOf("4306D336-CDD9-4B20-B80B-B766C07C003B");
inline constexpr IID IID_ICADPart = guidOf("BA2EF011-F351-11D2-A3F9-00A0249F4DED");
inline constexpr IID IID_ICADPartSupplemental1 = guidOf("9EB3A521-F653-11D2-A3FB-00A0249F4DED");
inline constexpr IID IID_ICADPart2 = guidOf("A8222A38-AFB3-4747-A070-DBC1CB922D6F");
inline constexpr IID IID_ICADMult = guidOf("20C369DF-120F-4C42-9E5F-A0182121FD32");

// ---- Results -------------------------------------------------------------------

// S_OK: a part or mult was read; S_FALSE: the file holds no further one.
// A COM error's own HRESULT is passed on unchanged; anything else is
// E_UNEXPECTED.
inline constexpr HRESULT E_CONVERT_UNEXPECTED_EOF = hresult(0x80040001);
inline constexpr HRESULT E_CONVERT_NUMERIC = hresult(0x80040002);
inline constexpr HRESULT E_CONVERT_UNDEFINED_SHAPE = hresult(0x80040003);
// A side that the section does not have, or an unknown hole-line code.
inline constexpr HRESULT E_CONVERT_BAD_CODE = hresult(0x80040004);
inline constexpr HRESULT E_CONVERT_FILE_OPEN = hresult(0x80040005);
// The file cannot be converted; the error text says why.
inline constexpr HRESULT E_CONVERT_READ = hresult(0x80040008);

// Measuring systems of parts and tools.
inline constexpr LONG kMeasuringSystemInch = 0;
inline constexpr LONG kMeasuringSystemMetric = 2;

// ---- Converter interfaces ----------------------------------------------------

// Implemented by every converter class (dual).
struct IVLMRConvert : IDispatch {
    // DISPID 1.
    virtual HRESULT SetFile(BSTR bstrFilename) = 0;
    // DISPID 2. The new part goes into *ppIUnkCADPart before anything is
    // read and stays there on S_FALSE and on failure; the caller releases it.
    virtual HRESULT ReadPart(IUnknown** ppIUnkCADPart, LONG bIsMetric, LONG bIsToolMetric) = 0;
    // DISPID 3, read-only property.
    virtual HRESULT get_ConversionName(BSTR* pVal) = 0;
};
COM_DECLARE_IID(IVLMRConvert, IID_IVLMRConvert);

// Implemented by the converters that read mult (bar) files (dual).
struct IVLMRMultConvert : IDispatch {
    // DISPID 1; the new mult as for ReadPart.
    virtual HRESULT ReadMult(IUnknown** ppIUnkCADMult) = 0;
};
COM_DECLARE_IID(IVLMRMultConvert, IID_IVLMRMultConvert);

// ---- The plain part --------------------------------------------------------------

// Default interface of CADPart (dual). Positions along the part (X) and
// across the face (U) and tool sizes are stored as passed; the save rounds
// and checks. Hole setters take the tool shape text ("RD", "SL", ...) and an
// orientation; their Ex forms add the tool's own measuring system.
struct ICADPart : IDispatch {
    virtual HRESULT get_JobId(BSTR* pbstrVal) = 0;              // DISPID 1
    virtual HRESULT put_JobId(BSTR newVal) = 0;                 // DISPID 1
    virtual HRESULT get_Group(BSTR* pbstrVal) = 0;              // DISPID 2
    virtual HRESULT put_Group(BSTR newVal) = 0;                 // DISPID 2
    virtual HRESULT get_Mark(BSTR* pbstrVal) = 0;               // DISPID 3
    virtual HRESULT put_Mark(BSTR newVal) = 0;                  // DISPID 3
    virtual HRESULT get_Section(BSTR* pbstrVal) = 0;            // DISPID 4
    virtual HRESULT put_Section(BSTR newVal) = 0;               // DISPID 4
    virtual HRESULT get_SectionDescription(BSTR* pbstrVal) = 0; // DISPID 5
    virtual HRESULT put_SectionDescription(BSTR newVal) = 0;    // DISPID 5
    virtual HRESULT put_Quantity(LONG newVal) = 0;              // DISPID 6
    virtual HRESULT put_Length(double newVal) = 0;              // DISPID 0xb

    // DISPIDs 0xc to 0x1a.
    virtual HRESULT SetWebHole(double dXPosition, double dUPosition, double dToolSize1,
                               double dToolSize2, BSTR bstrToolShape, INT nOrientation) = 0;
    virtual HRESULT SetWebMark(double dXPosition, double dUPosition) = 0;
    virtual HRESULT SetWebHiddenMark(double dXPosition, double dUPosition) = 0;
    virtual HRESULT SetTFNearHole(double dXPosition, double dUPosition, double dToolSize1,
                                  double dToolSize2, BSTR bstrToolShape, INT nOrientation) = 0;
    virtual HRESULT SetTFFarHole(double dXPosition, double dUPosition, double dToolSize1,
                                 double dToolSize2, BSTR bstrToolShape, INT nOrientation) = 0;
    virtual HRESULT SetTFNearFarHole(double dXPosition, double dUPosition, double dToolSize1,
                                     double dToolSize2, BSTR bstrToolShape, INT nOrientation) = 0;
    virtual HRESULT SetTFNearMark(double dXPosition, double dUPosition) = 0;
    virtual HRESULT SetTFFarMark(double dXPosition, double dUPosition) = 0;
    virtual HRESULT SetTFNearFarMark(double dXPosition, double dUPosition) = 0;
    virtual HRESULT SetBFNearHole(double dXPosition, double dUPosition, double dToolSize1,
                                  double dToolSize2, BSTR bstrToolShape, INT nOrientation) = 0;
    virtual HRESULT SetBFFarHole(double dXPosition, double dUPosition, double dToolSize1,
                                 double dToolSize2, BSTR bstrToolShape, INT nOrientation) = 0;
    virtual HRESULT SetBFNearFarHole(double dXPosition, double dUPosition, double dToolSize1,
                                     double dToolSize2, BSTR bstrToolShape, INT nOrientation) = 0;
    virtual HRESULT SetBFNearMark(double dXPosition, double dUPosition) = 0;
    virtual HRESULT SetBFFarMark(double dXPosition, double dUPosition) = 0;
    virtual HRESULT SetBFNearFarMark(double dXPosition, double dUPosition) = 0;

    virtual HRESULT SaveToTarsis() = 0; // DISPID 0x1b

    // DISPIDs 0x1c to 0x1e.
    virtual HRESULT SetWebStencil(double dXPosition, double dUPosition, BSTR bstrText) = 0;
    virtual HRESULT SetTFStencil(double dXPosition, double dUPosition, BSTR bstrText) = 0;
    virtual HRESULT SetBFStencil(double dXPosition, double dUPosition, BSTR bstrText) = 0;

    // DISPID 0x1f: nonzero metric (2), zero inch (0).
    virtual HRESULT SetMetric(INT bTrue) = 0;

    // DISPID 0x20: the second web of a tube.
    virtual HRESULT SetWeb2Hole(double dXPosition, double dUPosition, double dToolSize1,
                                double dToolSize2, BSTR bstrToolShape, INT nOrientation) = 0;

    // DISPIDs 0x21 to 0x28.
    virtual HRESULT SetWebHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                                 double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                                 INT nMeasuringSystem) = 0;
    virtual HRESULT SetTFNearHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                                    double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                                    INT nMeasuringSystem) = 0;
    virtual HRESULT SetTFFarHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                                   double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                                   INT nMeasuringSystem) = 0;
    virtual HRESULT SetTFNearFarHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                                       double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                                       INT nMeasuringSystem) = 0;
    virtual HRESULT SetBFNearHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                                    double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                                    INT nMeasuringSystem) = 0;
    virtual HRESULT SetBFFarHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                                   double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                                   INT nMeasuringSystem) = 0;
    virtual HRESULT SetBFNearFarHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                                       double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                                       INT nMeasuringSystem) = 0;
    virtual HRESULT SetWeb2HoleEx(double dXPosition, double dUPosition, double dToolSize1,
                                  double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                                  INT nMeasuringSystem) = 0;
};
COM_DECLARE_IID(ICADPart, IID_ICADPart);

// Second dual interface of CADPart, outside the type library: its dispatch
// part has no type information, so it is reachable only as an interface.
struct ICADPartSupplemental1 : IDispatch {
    virtual HRESULT put_Grade(BSTR newVal) = 0;
    virtual HRESULT put_MeasuringSystem(SHORT newVal) = 0;
    virtual HRESULT put_RemarksA(BSTR newVal) = 0;
    virtual HRESULT put_RemarksB(BSTR newVal) = 0;
};
COM_DECLARE_IID(ICADPartSupplemental1, IID_ICADPartSupplemental1);

// ---- The part with pattern operations ------------------------------------------------

// Interface of CADPart2 (IUnknown-based, not automation). String getters
// free what *pVal holds on entry, so pass a null BSTR there.
//
// An operation is a reference plane on the face (start, direction signs,
// pattern type, rise and run) and a grid of positions (first X and U, counts
// and steps), with a kind ('H' hole, anything else a mark), a web side ('F'
// front, 'B' back) and the tool. The web methods take their characters
// unsigned, the flange methods signed; the pattern type is unsigned in all.
struct ICADPart2 : IUnknown {
    virtual HRESULT get_JobId(BSTR* pVal) = 0;
    virtual HRESULT put_JobId(BSTR newVal) = 0;
    virtual HRESULT get_Group(BSTR* pVal) = 0;
    virtual HRESULT put_Group(BSTR newVal) = 0;
    virtual HRESULT get_Mark(BSTR* pVal) = 0;
    virtual HRESULT put_Mark(BSTR newVal) = 0;
    virtual HRESULT get_Quantity(LONG* pVal) = 0;
    virtual HRESULT put_Quantity(LONG newVal) = 0;
    virtual HRESULT get_Length(double* pVal) = 0;
    virtual HRESULT put_Length(double newVal) = 0;
    virtual HRESULT get_Section(BSTR* pVal) = 0;
    virtual HRESULT put_Section(BSTR newVal) = 0;
    virtual HRESULT get_SectionDescription(BSTR* pVal) = 0;
    virtual HRESULT put_SectionDescription(BSTR newVal) = 0;
    virtual HRESULT SetWebOperation(double dStartX, double dStartU, unsigned char cDirectionX,
                                    unsigned char cDirectionU, unsigned char cPatternType,
                                    double dRise, double dRun, double dX, double dU, LONG nNumX,
                                    double dXInc, LONG nNumU, double dUInc,
                                    unsigned char cOperationType, unsigned char cFrontBack,
                                    double dToolSize1, double dToolSize2, BSTR bstrToolType,
                                    LONG nToolOrientation) = 0;
    virtual HRESULT SetTopFlangeOperation(double dStartX, double dStartU, signed char cDirectionX,
                                          signed char cDirectionU, unsigned char cPatternType,
                                          double dRise, double dRun, double dX, double dU,
                                          LONG nNumX, double dXInc, LONG nNumU, double dUInc,
                                          signed char cOperationType, signed char cFrontBack,
                                          double dToolSize1, double dToolSize2, BSTR bstrToolType,
                                          LONG nToolOrientation) = 0;
    virtual HRESULT SetBottomFlangeOperation(
        double dStartX, double dStartU, signed char cDirectionX, signed char cDirectionU,
        unsigned char cPatternType, double dRise, double dRun, double dX, double dU, LONG nNumX,
        double dXInc, LONG nNumU, double dUInc, signed char cOperationType, signed char cFrontBack,
        double dToolSize1, double dToolSize2, BSTR bstrToolType, LONG nToolOrientation) = 0;
    virtual HRESULT SaveToTarsis() = 0;
    virtual HRESULT get_Grade(BSTR* pVal) = 0;
    virtual HRESULT put_Grade(BSTR newVal) = 0;
    virtual HRESULT SetWebStencil(double dXPosition, double dUPosition, BSTR bstrText) = 0;
    virtual HRESULT SetTFStencil(double dXPosition, double dUPosition, BSTR bstrText) = 0;
    virtual HRESULT SetBFStencil(double dXPosition, double dUPosition, BSTR bstrText) = 0;
    virtual HRESULT SetMetric(INT bTrue) = 0;
    virtual HRESULT SetWebOperationEx(double dStartX, double dStartU, unsigned char cDirectionX,
                                      unsigned char cDirectionU, unsigned char cPatternType,
                                      double dRise, double dRun, double dX, double dU, LONG nNumX,
                                      double dXInc, LONG nNumU, double dUInc,
                                      unsigned char cOperationType, unsigned char cFrontBack,
                                      double dToolSize1, double dToolSize2, BSTR bstrToolType,
                                      LONG nToolOrientation, LONG nToolMeasuringSystem) = 0;
    virtual HRESULT SetTopFlangeOperationEx(double dStartX, double dStartU, signed char cDirectionX,
                                            signed char cDirectionU, unsigned char cPatternType,
                                            double dRise, double dRun, double dX, double dU,
                                            LONG nNumX, double dXInc, LONG nNumU, double dUInc,
                                            signed char cOperationType, signed char cFrontBack,
                                            double dToolSize1, double dToolSize2, BSTR bstrToolType,
                                            LONG nToolOrientation, LONG nToolMeasuringSystem) = 0;
    virtual HRESULT SetBottomFlangeOperationEx(
        double dStartX, double dStartU, signed char cDirectionX, signed char cDirectionU,
        unsigned char cPatternType, double dRise, double dRun, double dX, double dU, LONG nNumX,
        double dXInc, LONG nNumU, double dUInc, signed char cOperationType, signed char cFrontBack,
        double dToolSize1, double dToolSize2, BSTR bstrToolType, LONG nToolOrientation,
        LONG nToolMeasuringSystem) = 0;
};
COM_DECLARE_IID(ICADPart2, IID_ICADPart2);

// ---- The mult -------------------------------------------------------------------

// Interface of CADMult (IUnknown-based, not automation): a bar from which
// the pieces added with AddPart are cut. String getters free what *pVal
// holds on entry. CheckMachine and CheckPart answer S_FALSE when Tarsis does
// not know the machine or the piece.
struct ICADMult : IUnknown {
    virtual HRESULT get_JobId(BSTR* pVal) = 0;
    virtual HRESULT put_JobId(BSTR newVal) = 0;
    virtual HRESULT get_Group(BSTR* pVal) = 0;
    virtual HRESULT put_Group(BSTR newVal) = 0;
    virtual HRESULT get_Mark(BSTR* pVal) = 0;
    virtual HRESULT put_Mark(BSTR newVal) = 0;
    virtual HRESULT get_Quantity(LONG* pVal) = 0;
    virtual HRESULT put_Quantity(LONG newVal) = 0;
    virtual HRESULT get_Length(double* pVal) = 0;
    virtual HRESULT put_Length(double newVal) = 0;
    virtual HRESULT get_Section(BSTR* pVal) = 0;
    virtual HRESULT put_Section(BSTR newVal) = 0;
    virtual HRESULT get_SectionDescription(BSTR* pVal) = 0;
    virtual HRESULT put_SectionDescription(BSTR newVal) = 0;
    virtual HRESULT get_Grade(BSTR* pVal) = 0;
    virtual HRESULT put_Grade(BSTR newVal) = 0;
    virtual HRESULT get_Machine(BSTR* pVal) = 0;
    virtual HRESULT put_Machine(BSTR newVal) = 0;
    virtual HRESULT get_Kerf(double* pVal) = 0;
    virtual HRESULT put_Kerf(double newVal) = 0;
    virtual HRESULT SetMetric(INT bTrue) = 0;
    virtual HRESULT SaveToTarsis() = 0;
    virtual HRESULT AddPart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark, INT nQuantity) = 0;
    // The section and description Tarsis holds for a piece; the two
    // strings are allocated for the caller.
    virtual HRESULT GetMultSectionAndDescription(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark,
                                                 BSTR* pbstrSection, BSTR* pbstrDesctp) = 0;
    // S_FALSE with a copy of the machine name when Tarsis does not know it.
    virtual HRESULT CheckMachine(BSTR* pbstrMachineName) = 0;
    // Reserved: answers S_OK and sets none of its out-parameters.
    virtual HRESULT CheckParts(LONG* pnNumberOf, BSTR** ppbstrPartJobs, BSTR** ppbstrPartGroups,
                               BSTR** ppbstrPart) = 0;
    virtual HRESULT CheckPart(BSTR bstrJob, BSTR bstrGroup, BSTR bstrMark) = 0;
};
COM_DECLARE_IID(ICADMult, IID_ICADMult);
