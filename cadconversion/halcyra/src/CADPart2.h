// CCADPart2: the part with pattern operations behind coclass CADPart2,
// filled by the DSTV part reader. Each operation keeps its own reference
// plane, which the save sends before it; there are no side checks.
//
// Registered as "Both" but not thread-safe: each part is created, filled
// and saved on one thread. Plain reference counts; not aggregatable.
#pragma once

#include "RefPlane.h"
#include "Resource.h"
#include "TarsisServers.h"
#include "TarsisSession.h"

#include "halcyra/HalcyraLib.h"
#include "halcyra/ListTmplt.h"
#include "halcyra/StencilOperation.h"
#include "halcyra/ToolOperationWithRefPlane.h"

#include "com/ComBstr.h"
#include "com/ComPtr.h"
#include "com/server/CoClass.h"
#include "com/server/Module.h"

class CCADPart2 : public CComObjectRootEx<CComSingleThreadModel>,
                  public CComCoClass<CCADPart2, &CLSID_CADPart2>,
                  public ICADPart2,
                  public ISupportErrorInfoImpl<&IID_ICADPart2> {
public:
    CCADPart2();

    DECLARE_REGISTRY_RESOURCEID(IDR_CADPART2)
    DECLARE_NOT_AGGREGATABLE(CCADPart2)

    BEGIN_COM_MAP(CCADPart2)
        COM_INTERFACE_ENTRY(ICADPart2)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()

    // Releases the writer and deletes every record, before the destructor.
    void FinalRelease();

    // ICADPart2
    HRESULT get_JobId(BSTR* pVal) override;
    HRESULT put_JobId(BSTR newVal) override;
    HRESULT get_Group(BSTR* pVal) override;
    HRESULT put_Group(BSTR newVal) override;
    HRESULT get_Mark(BSTR* pVal) override;
    HRESULT put_Mark(BSTR newVal) override;
    HRESULT get_Quantity(LONG* pVal) override;
    HRESULT put_Quantity(LONG newVal) override;
    HRESULT get_Length(double* pVal) override;
    HRESULT put_Length(double newVal) override;
    HRESULT get_Section(BSTR* pVal) override;
    HRESULT put_Section(BSTR newVal) override;
    HRESULT get_SectionDescription(BSTR* pVal) override;
    HRESULT put_SectionDescription(BSTR newVal) override;
    HRESULT SetWebOperation(double dStartX, double dStartU, unsigned char cDirectionX,
                            unsigned char cDirectionU, unsigned char cPatternType, double dRise,
                            double dRun, double dX, double dU, LONG nNumX, double dXInc, LONG nNumU,
                            double dUInc, unsigned char cOperationType, unsigned char cFrontBack,
                            double dToolSize1, double dToolSize2, BSTR bstrToolType,
                            LONG nToolOrientation) override;
    HRESULT SetTopFlangeOperation(double dStartX, double dStartU, signed char cDirectionX,
                                  signed char cDirectionU, unsigned char cPatternType, double dRise,
                                  double dRun, double dX, double dU, LONG nNumX, double dXInc,
                                  LONG nNumU, double dUInc, signed char cOperationType,
                                  signed char cFrontBack, double dToolSize1, double dToolSize2,
                                  BSTR bstrToolType, LONG nToolOrientation) override;
    HRESULT SetBottomFlangeOperation(double dStartX, double dStartU, signed char cDirectionX,
                                     signed char cDirectionU, unsigned char cPatternType,
                                     double dRise, double dRun, double dX, double dU, LONG nNumX,
                                     double dXInc, LONG nNumU, double dUInc,
                                     signed char cOperationType, signed char cFrontBack,
                                     double dToolSize1, double dToolSize2, BSTR bstrToolType,
                                     LONG nToolOrientation) override;
    HRESULT SaveToTarsis() override;
    HRESULT get_Grade(BSTR* pVal) override;
    HRESULT put_Grade(BSTR newVal) override;
    HRESULT SetWebStencil(double dXPosition, double dUPosition, BSTR bstrText) override;
    HRESULT SetTFStencil(double dXPosition, double dUPosition, BSTR bstrText) override;
    HRESULT SetBFStencil(double dXPosition, double dUPosition, BSTR bstrText) override;
    HRESULT SetMetric(INT bTrue) override;
    HRESULT SetWebOperationEx(double dStartX, double dStartU, unsigned char cDirectionX,
                              unsigned char cDirectionU, unsigned char cPatternType, double dRise,
                              double dRun, double dX, double dU, LONG nNumX, double dXInc,
                              LONG nNumU, double dUInc, unsigned char cOperationType,
                              unsigned char cFrontBack, double dToolSize1, double dToolSize2,
                              BSTR bstrToolType, LONG nToolOrientation,
                              LONG nToolMeasuringSystem) override;
    HRESULT SetTopFlangeOperationEx(double dStartX, double dStartU, signed char cDirectionX,
                                    signed char cDirectionU, unsigned char cPatternType,
                                    double dRise, double dRun, double dX, double dU, LONG nNumX,
                                    double dXInc, LONG nNumU, double dUInc,
                                    signed char cOperationType, signed char cFrontBack,
                                    double dToolSize1, double dToolSize2, BSTR bstrToolType,
                                    LONG nToolOrientation, LONG nToolMeasuringSystem) override;
    HRESULT SetBottomFlangeOperationEx(double dStartX, double dStartU, signed char cDirectionX,
                                       signed char cDirectionU, unsigned char cPatternType,
                                       double dRise, double dRun, double dX, double dU, LONG nNumX,
                                       double dXInc, LONG nNumU, double dUInc,
                                       signed char cOperationType, signed char cFrontBack,
                                       double dToolSize1, double dToolSize2, BSTR bstrToolType,
                                       LONG nToolOrientation, LONG nToolMeasuringSystem) override;

private:
    enum class Face { Web, TopFlange, BottomFlange };

    // Rounds dX to 1/64 and appends the operation to the list.
    static HRESULT addOperation(CListTmplt<CToolOperationWithRefPlane>& list, double dStartX,
                                double dStartU, char cDirectionX, char cDirectionU,
                                char cPatternType, double dRise, double dRun, double dX, double dU,
                                LONG nNumX, double dXInc, LONG nNumU, double dUInc,
                                char cOperationType, char cFrontBack, double dToolSize1,
                                double dToolSize2, BSTR bstrToolType, LONG nToolOrientation,
                                LONG nToolMeasuringSystem);
    static HRESULT addStencil(CListTmplt<CStencilOperation>& list, double dXPosition,
                              double dUPosition, BSTR bstrText);

    // The save's steps.
    void saveToTarsis();
    void sendOperations(CRefPlane& refPlane, Face face,
                        CListTmplt<CToolOperationWithRefPlane>& operations);
    void sendOperation(Face face, CToolOperationWithRefPlane& operation);
    void sendStencils(CListTmplt<CStencilOperation>& stencils, DISPID stencil);

    // The thread's shared servers (the writer of the last save is also
    // kept in PartWriter).
    std::shared_ptr<TarsisSession> m_session = TarsisSession::ofThisThread();
    ComPtrT<ITarsisPartWriter> PartWriter;
    CComBSTR JobId;
    CComBSTR Group;
    CComBSTR Mark;
    double Length = 0;
    CComBSTR Section;
    CComBSTR SectionDescription;
    LONG Quantity = 0;
    CComBSTR Grade;
    LONG MeasuringSystem = kMeasuringSystemInch;
    // The part owns every record in these lists.
    CListTmplt<CToolOperationWithRefPlane> WebOperations;
    CListTmplt<CToolOperationWithRefPlane> TopFlangeOperations;
    CListTmplt<CToolOperationWithRefPlane> BottomFlangeOperations;
    CListTmplt<CStencilOperation> WebStencils;
    CListTmplt<CStencilOperation> TopFlangeStencils;
    CListTmplt<CStencilOperation> BottomFlangeStencils;
};
