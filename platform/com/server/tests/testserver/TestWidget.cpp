// The test server's widget.
#include "TestWidget.h"

#include "com/Bstr.h"

#include <string>

void CTestWidget::FinalRelease()
{
    SysFreeString(m_bstrName);
    m_bstrName = nullptr;
}

HRESULT CTestWidget::Add(LONG nLeft, LONG nRight, LONG* pnSum)
{
    *pnSum = nLeft + nRight;
    return S_OK;
}

HRESULT CTestWidget::Scale(double dValue, SHORT nFactor, double* pdScaled)
{
    *pdScaled = dValue * nFactor;
    return S_OK;
}

HRESULT CTestWidget::Join(BSTR bstrLeft, BSTR bstrRight, BSTR* pbstrJoined)
{
    std::u16string joined(bstrLeft, SysStringLen(bstrLeft));
    joined.append(bstrRight, SysStringLen(bstrRight));
    *pbstrJoined = SysAllocStringLen(joined.data(), static_cast<UINT>(joined.size()));
    return *pbstrJoined ? S_OK : E_OUTOFMEMORY;
}

HRESULT CTestWidget::get_Name(BSTR* pbstrName)
{
    *pbstrName = SysAllocStringLen(m_bstrName, SysStringLen(m_bstrName));
    return S_OK;
}

HRESULT CTestWidget::put_Name(BSTR bstrName)
{
    SysFreeString(m_bstrName);
    m_bstrName = SysAllocStringLen(bstrName, SysStringLen(bstrName));
    return S_OK;
}

HRESULT CTestWidget::Bytes(BYTE cUnsigned, CHAR cSigned, LONG* pnSum)
{
    *pnSum = cUnsigned + static_cast<signed char>(cSigned);
    return S_OK;
}

HRESULT CTestWidget::Fail(BSTR bstrText, LONG nResult)
{
    return Error(bstrText, IID_ITestWidget, nResult);
}

HRESULT CTestWidget::FailPlain(LONG nResult)
{
    return nResult;
}

HRESULT CTestWidget::Identity(IUnknown* pUnknown, IUnknown** ppUnknown)
{
    if (pUnknown != nullptr)
        pUnknown->AddRef();
    *ppUnknown = pUnknown;
    return S_OK;
}

HRESULT CTestWidget::get_Title(BSTR* pbstrTitle)
{
    OLECHAR buffer[64];
    if (LoadString(CComModule::GetResourceInstance(), IDS_WIDGET_TITLE, buffer, 64) == 0)
        return Error("the title is not in the string table", IID_ITestWidget, E_FAIL);
    *pbstrTitle = SysAllocString(buffer);
    return S_OK;
}

HRESULT CTestWidget::Increment(LONG nBy)
{
    m_nCount += nBy;
    return S_OK;
}

HRESULT CTestWidget::get_Count(LONG* pnCount)
{
    *pnCount = m_nCount;
    return S_OK;
}

HRESULT CTestWidget::Ping()
{
    return S_OK;
}
