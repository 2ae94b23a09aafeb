// The test server's aggregatable widget: three dual interfaces, error
// reports and a string from the module's table.
#pragma once

#include "TestServerInterfaces.h"
#include "com/server/Server.h"

class CTestWidget
    : public CComObjectRootEx<CComSingleThreadModel>,
      public CComCoClass<CTestWidget, &CLSID_TestWidget>,
      public ISupportErrorInfoImpl<&IID_ITestWidget>,
      public IDispatchImpl<ITestWidget, &IID_ITestWidget, &LIBID_TestServerLib, 1, 0>,
      public IDispatchImpl<ITestCounter, &IID_ITestCounter, &LIBID_TestServerLib, 1, 0>,
      public IDispatchImpl<ITestHidden, &IID_ITestHidden, &LIBID_TestServerLib, 1, 0> {
public:
    DECLARE_REGISTRY_RESOURCEID(101)

    BEGIN_COM_MAP(CTestWidget)
        COM_INTERFACE_ENTRY(ITestWidget)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
        COM_INTERFACE_ENTRY2(IDispatch, ITestWidget)
        COM_INTERFACE_ENTRY(ITestCounter)
        COM_INTERFACE_ENTRY(ITestHidden)
    END_COM_MAP()

    void FinalRelease();

    HRESULT Add(LONG nLeft, LONG nRight, LONG* pnSum) override;
    HRESULT Scale(double dValue, SHORT nFactor, double* pdScaled) override;
    HRESULT Join(BSTR bstrLeft, BSTR bstrRight, BSTR* pbstrJoined) override;
    HRESULT get_Name(BSTR* pbstrName) override;
    HRESULT put_Name(BSTR bstrName) override;
    HRESULT Bytes(BYTE cUnsigned, CHAR cSigned, LONG* pnSum) override;
    HRESULT Fail(BSTR bstrText, LONG nResult) override;
    HRESULT FailPlain(LONG nResult) override;
    HRESULT Identity(IUnknown* pUnknown, IUnknown** ppUnknown) override;
    HRESULT get_Title(BSTR* pbstrTitle) override;

    HRESULT Increment(LONG nBy) override;
    HRESULT get_Count(LONG* pnCount) override;

    HRESULT Ping() override;

private:
    BSTR m_bstrName = nullptr;
    LONG m_nCount = 0;
};
