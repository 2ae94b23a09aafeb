// The test server's gadget: not aggregatable, in the test category.
#pragma once

#include "TestServerInterfaces.h"
#include "com/server/Server.h"

class CTestGadget : public CComObjectRootEx<CComSingleThreadModel>,
                    public CComCoClass<CTestGadget, &CLSID_TestGadget>,
                    public ISupportErrorInfoImpl<&IID_ITestGadget>,
                    public ITestGadget {
public:
    DECLARE_REGISTRY_RESOURCEID(102)
    DECLARE_NOT_AGGREGATABLE(CTestGadget)

    BEGIN_COM_MAP(CTestGadget)
        COM_INTERFACE_ENTRY(ITestGadget)
        COM_INTERFACE_ENTRY(ISupportErrorInfo)
    END_COM_MAP()

    BEGIN_CATEGORY_MAP(CTestGadget)
        IMPLEMENTED_CATEGORY(CATID_TestServers)
    END_CATEGORY_MAP()

    HRESULT Ready() override { return S_OK; }
};
