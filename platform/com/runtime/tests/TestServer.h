// The test server module's class and interface.
#pragma once

#include "com/Interfaces.h"

inline constexpr CLSID CLSID_TestObject = guidOf("6B0C5E10-3D1A-4F0E-9C51-2A7B8E4D1F01");
inline constexpr IID IID_ITestObject = guidOf("6B0C5E11-3D1A-4F0E-9C51-2A7B8E4D1F01");

struct ITestObject : IUnknown {
    // Sets error information (source "TestObject", the description, GUID
    // IID_ITestObject) and returns hr.
    virtual HRESULT Fail(HRESULT hr, LPOLESTR description) = 0;
    // How often IRunnableObject::Run was called on this object.
    virtual HRESULT GetRunCount(ULONG* count) = 0;
    // Raises hr as a _com_error inside the module and answers the HRESULT
    // it caught there (E_UNEXPECTED when the catch did not match).
    virtual HRESULT RaiseAndCatch(HRESULT hr) = 0;
};
COM_DECLARE_IID(ITestObject, IID_ITestObject);
