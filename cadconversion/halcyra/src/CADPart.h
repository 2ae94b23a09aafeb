// CCADPart: the plain part object behind coclass CADPart. Converters fill
// it through ICADPart, one call per value or operation; SaveToTarsis then
// checks the section and its sides and writes it through the Tarsis part
// writer. Filling converts, rounds and checks nothing.
//
// Single-threaded apartment: one thread at a time, plain reference counts.
#pragma once

#include "Resource.h"
#include "TarsisServers.h"
#include "TarsisSession.h"

#include "halcyra/HalcyraLib.h"
#include "halcyra/ListTmplt.h"
#include "halcyra/MarkOperation.h"
#include "halcyra/StencilOperation.h"
#include "halcyra/ToolOperation.h"

#include "com/ComBstr.h"
#include "com/ComPtr.h"
#include "com/server/CoClass.h"
#include "com/server/DispatchImpl.h"
#include "com/server/Module.h"

class CCADPart : public CComObjectRootEx<CComSingleThreadModel>,
                 public CComCoClass<CCADPart, &CLSID_CADPart>,
                 public ISupportErrorInfoImpl<&IID_ICADPart>,
                 public IDispatchImpl<ICADPart, &IID_ICADPart, &LIBID_HALCYRALib, 1, 0>,
                 public IDispatchImpl<ICADPartSupplemental1, &IID_ICADPartSupplemental1,
                                      &LIBID_HALCYRALib, 1, 0> {
public:
    CCADPart() = default;

    DECLARE_REGISTRY_RESOURCEID(IDR_CADPART)

    BEGIN_COM_MAP(CCADPart)
        COM_INTERFACE_ENTRY(ICADPart)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY2(IDispatch, ICADPart)
        COM_INTERFACE_ENTRY(ICADPartSupplemental1)
    END_COM_MAP()

    // Deletes every record, before the destructor.
    void FinalRelease();

    // ICADPart
    HRESULT get_JobId(BSTR* pbstrVal) override;
    HRESULT put_JobId(BSTR newVal) override;
    HRESULT get_Group(BSTR* pbstrVal) override;
    HRESULT put_Group(BSTR newVal) override;
    HRESULT get_Mark(BSTR* pbstrVal) override;
    HRESULT put_Mark(BSTR newVal) override;
    HRESULT get_Section(BSTR* pbstrVal) override;
    HRESULT put_Section(BSTR newVal) override;
    HRESULT get_SectionDescription(BSTR* pbstrVal) override;
    HRESULT put_SectionDescription(BSTR newVal) override;
    HRESULT put_Quantity(LONG newVal) override;
    HRESULT put_Length(double newVal) override;
    HRESULT SetWebHole(double dXPosition, double dUPosition, double dToolSize1, double dToolSize2,
                       BSTR bstrToolShape, INT nOrientation) override;
    HRESULT SetWebMark(double dXPosition, double dUPosition) override;
    HRESULT SetWebHiddenMark(double dXPosition, double dUPosition) override;
    HRESULT SetTFNearHole(double dXPosition, double dUPosition, double dToolSize1,
                          double dToolSize2, BSTR bstrToolShape, INT nOrientation) override;
    HRESULT SetTFFarHole(double dXPosition, double dUPosition, double dToolSize1, double dToolSize2,
                         BSTR bstrToolShape, INT nOrientation) override;
    HRESULT SetTFNearFarHole(double dXPosition, double dUPosition, double dToolSize1,
                             double dToolSize2, BSTR bstrToolShape, INT nOrientation) override;
    HRESULT SetTFNearMark(double dXPosition, double dUPosition) override;
    HRESULT SetTFFarMark(double dXPosition, double dUPosition) override;
    HRESULT SetTFNearFarMark(double dXPosition, double dUPosition) override;
    HRESULT SetBFNearHole(double dXPosition, double dUPosition, double dToolSize1,
                          double dToolSize2, BSTR bstrToolShape, INT nOrientation) override;
    HRESULT SetBFFarHole(double dXPosition, double dUPosition, double dToolSize1, double dToolSize2,
                         BSTR bstrToolShape, INT nOrientation) override;
    HRESULT SetBFNearFarHole(double dXPosition, double dUPosition, double dToolSize1,
                             double dToolSize2, BSTR bstrToolShape, INT nOrientation) override;
    HRESULT SetBFNearMark(double dXPosition, double dUPosition) override;
    HRESULT SetBFFarMark(double dXPosition, double dUPosition) override;
    HRESULT SetBFNearFarMark(double dXPosition, double dUPosition) override;
    HRESULT SaveToTarsis() override;
    HRESULT SetWebStencil(double dXPosition, double dUPosition, BSTR bstrText) override;
    HRESULT SetTFStencil(double dXPosition, double dUPosition, BSTR bstrText) override;
    HRESULT SetBFStencil(double dXPosition, double dUPosition, BSTR bstrText) override;
    HRESULT SetMetric(INT bTrue) override;
    HRESULT SetWeb2Hole(double dXPosition, double dUPosition, double dToolSize1, double dToolSize2,
                        BSTR bstrToolShape, INT nOrientation) override;
    HRESULT SetWebHoleEx(double dXPosition, double dUPosition, double dToolSize1, double dToolSize2,
                         BSTR bstrToolShape, INT nOrientation, INT nMeasuringSystem) override;
    HRESULT SetTFNearHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                            double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                            INT nMeasuringSystem) override;
    HRESULT SetTFFarHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                           double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                           INT nMeasuringSystem) override;
    HRESULT SetTFNearFarHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                               double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                               INT nMeasuringSystem) override;
    HRESULT SetBFNearHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                            double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                            INT nMeasuringSystem) override;
    HRESULT SetBFFarHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                           double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                           INT nMeasuringSystem) override;
    HRESULT SetBFNearFarHoleEx(double dXPosition, double dUPosition, double dToolSize1,
                               double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                               INT nMeasuringSystem) override;
    HRESULT SetWeb2HoleEx(double dXPosition, double dUPosition, double dToolSize1,
                          double dToolSize2, BSTR bstrToolShape, INT nOrientation,
                          INT nMeasuringSystem) override;

    // ICADPartSupplemental1
    HRESULT put_Grade(BSTR newVal) override;
    HRESULT put_MeasuringSystem(SHORT newVal) override;
    HRESULT put_RemarksA(BSTR newVal) override;
    HRESULT put_RemarksB(BSTR newVal) override;

private:
    // What a method loads for its error report.
    struct ErrorText {
        UINT nID;
        const char16_t* pszFallback;
    };

    // Reports a COM error raised in a method, against ICADPart.
    static HRESULT reportComError(const _com_error& error, ErrorText text);
    HRESULT getString(const CComBSTR& field, BSTR* pbstrVal, ErrorText text);
    HRESULT putString(CComBSTR& field, BSTR newVal, ErrorText text);
    HRESULT addHole(CListTmplt<CToolOperation>& list, ErrorText text, double dXPosition,
                    double dUPosition, double dToolSize1, double dToolSize2, BSTR bstrToolShape,
                    INT nOrientation, INT nMeasuringSystem);
    HRESULT addMark(CListTmplt<CMarkOperation>& list, ErrorText text, double dXPosition,
                    double dUPosition);
    HRESULT addStencil(CListTmplt<CStencilOperation>& list, ErrorText text, double dXPosition,
                       double dUPosition, BSTR bstrText);

    // The save's steps.
    void saveToTarsis();
    void sendHoles(CListTmplt<CToolOperation>& holes, DISPID plain, DISPID ex);
    void sendMarks(CListTmplt<CMarkOperation>& marks, DISPID mark);
    void sendStencils(CListTmplt<CStencilOperation>& stencils, DISPID stencil);

    // The thread's shared servers (the writer of the last save is also
    // kept in PartWriter).
    std::shared_ptr<TarsisSession> m_session = TarsisSession::ofThisThread();
    ComPtrT<ITarsisPartWriter> PartWriter;
    CComBSTR JobId;
    CComBSTR Group;
    CComBSTR Mark;
    double Length = 0.0;
    CComBSTR Section;
    CComBSTR SectionDescription;
    LONG Quantity = 0;
    CComBSTR Grade;    // stored, never sent
    CComBSTR RemarksA; // stored, never sent
    CComBSTR RemarksB; // stored, never sent
    LONG MeasuringSystem = kMeasuringSystemInch;

    // The part owns every record in these lists.
    CListTmplt<CToolOperation> Web2Holes; // the second web of a tube
    CListTmplt<CToolOperation> WebHoles;
    CListTmplt<CMarkOperation> WebMarks;
    CListTmplt<CMarkOperation> WebHiddenMarks;
    CListTmplt<CToolOperation> TFNearHoles;
    CListTmplt<CMarkOperation> TFNearMarks;
    CListTmplt<CToolOperation> TFFarHoles;
    CListTmplt<CMarkOperation> TFFarMarks;
    CListTmplt<CToolOperation> TFNearFarHoles;
    CListTmplt<CMarkOperation> TFNearFarMarks;
    CListTmplt<CToolOperation> BFNearHoles;
    CListTmplt<CMarkOperation> BFNearMarks;
    CListTmplt<CToolOperation> BFFarHoles;
    CListTmplt<CMarkOperation> BFFarMarks;
    CListTmplt<CToolOperation> BFNearFarHoles;
    CListTmplt<CMarkOperation> BFNearFarMarks;
    CListTmplt<CStencilOperation> WebStencils;
    CListTmplt<CStencilOperation> TFStencils;
    CListTmplt<CStencilOperation> BFStencils;
};
