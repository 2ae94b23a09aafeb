// The interfaces and identities of the test server module, shared by the
// module and the tests that drive it from outside.
#pragma once

#include "com/Interfaces.h"

inline constexpr GUID LIBID_TestServerLib = guidOf("5C3A9E10-41B2-4C7E-9A11-2F0D6B8E7A01");
inline constexpr CLSID CLSID_TestWidget = guidOf("5C3A9E11-41B2-4C7E-9A11-2F0D6B8E7A01");
inline constexpr CLSID CLSID_TestGadget = guidOf("5C3A9E12-41B2-4C7E-9A11-2F0D6B8E7A01");
inline constexpr IID IID_ITestWidget = guidOf("5C3A9E13-41B2-4C7E-9A11-2F0D6B8E7A01");
inline constexpr IID IID_ITestCounter = guidOf("5C3A9E14-41B2-4C7E-9A11-2F0D6B8E7A01");
inline constexpr IID IID_ITestHidden = guidOf("5C3A9E15-41B2-4C7E-9A11-2F0D6B8E7A01");
inline constexpr IID IID_ITestGadget = guidOf("5C3A9E16-41B2-4C7E-9A11-2F0D6B8E7A01");
inline constexpr CATID CATID_TestServers = guidOf("5C3A9E17-41B2-4C7E-9A11-2F0D6B8E7A01");

// The string table's ids.
inline constexpr UINT IDS_WIDGET_TITLE = 100;

// Dual, described in the library. DISPIDs in comments.
struct ITestWidget : IDispatch {
    virtual HRESULT Add(LONG nLeft, LONG nRight, LONG* pnSum) = 0;              // 1, retval
    virtual HRESULT Scale(double dValue, SHORT nFactor, double* pdScaled) = 0;  // 2, out
    virtual HRESULT Join(BSTR bstrLeft, BSTR bstrRight, BSTR* pbstrJoined) = 0; // 3, retval
    virtual HRESULT get_Name(BSTR* pbstrName) = 0;                              // 4
    virtual HRESULT put_Name(BSTR bstrName) = 0;                                // 4
    virtual HRESULT Bytes(BYTE cUnsigned, CHAR cSigned, LONG* pnSum) = 0;       // 5, retval
    virtual HRESULT Fail(BSTR bstrText, LONG nResult) = 0; // 6: Error(text, IID, nResult)
    virtual HRESULT FailPlain(LONG nResult) = 0;           // 7: nResult, no error info
    virtual HRESULT Identity(IUnknown* pUnknown, IUnknown** ppUnknown) = 0; // 8, out
    virtual HRESULT get_Title(BSTR* pbstrTitle) = 0; // 9: string IDS_WIDGET_TITLE
};
COM_DECLARE_IID(ITestWidget, IID_ITestWidget);

// A second dual interface of the widget, described in the library.
struct ITestCounter : IDispatch {
    virtual HRESULT Increment(LONG nBy) = 0;      // 1
    virtual HRESULT get_Count(LONG* pnCount) = 0; // 2
};
COM_DECLARE_IID(ITestCounter, IID_ITestCounter);

// A third dual interface of the widget, absent from the library.
struct ITestHidden : IDispatch {
    virtual HRESULT Ping() = 0;
};
COM_DECLARE_IID(ITestHidden, IID_ITestHidden);

// The gadget's own interface, derived from IUnknown.
struct ITestGadget : IUnknown {
    virtual HRESULT Ready() = 0;
};
COM_DECLARE_IID(ITestGadget, IID_ITestGadget);
