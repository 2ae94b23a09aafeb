// The component runtime: apartments, object creation from the registry,
// ProgIDs, per-thread error information and the built-in component
// categories manager.
#pragma once

#include "com/Interfaces.h"

#include <string>

enum CLSCTX : DWORD {
    CLSCTX_INPROC_SERVER = 0x1,
    CLSCTX_INPROC_HANDLER = 0x2,
    CLSCTX_LOCAL_SERVER = 0x4,
    CLSCTX_REMOTE_SERVER = 0x10,
    CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
    CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
    CLSCTX_ALL =
        CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
};

enum COINIT : DWORD {
    COINIT_APARTMENTTHREADED = 0x2,
    COINIT_MULTITHREADED = 0x0,
};

// Per thread, counted: every successful initialisation (S_OK, or S_FALSE
// when already initialised) needs one CoUninitialize. Creation functions
// answer CO_E_NOTINITIALIZED on a thread that is not initialised.
HRESULT CoInitialize(LPVOID reserved);
HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit);
void CoUninitialize();
HRESULT OleInitialize(LPVOID reserved);
void OleUninitialize();

// In-process servers are modules named by HKCR\CLSID\{clsid}\InprocServer32.
// A local-server request is served in process when the class's AppID names
// a DllSurrogate. Out-pointers are null on every failure.
HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD clsContext, REFIID riid,
                         LPVOID* ppv);
HRESULT CoGetClassObject(REFCLSID rclsid, DWORD clsContext, LPVOID serverInfo, REFIID riid,
                         LPVOID* ppv);
HRESULT OleRun(IUnknown* pUnknown);
void CoFreeUnusedLibraries();

HRESULT CLSIDFromProgID(LPCOLESTR progId, LPCLSID pclsid);
HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* progId); // CoTaskMemFree the result

// Error information of the calling thread. GetErrorInfo hands the object
// over and clears it; S_FALSE and null when there is none.
HRESULT SetErrorInfo(DWORD reserved, IErrorInfo* perrinfo);
HRESULT GetErrorInfo(DWORD reserved, IErrorInfo** pperrinfo);
HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo);

// The platform's text for an HRESULT, without a trailing line break: our
// own wording for the common codes; "IDispatch error #N" (N = hr -
// 0x80040200) for 0x80040200..0x8004FFFF; else "Unknown error 0x%0lX".
std::string hresultMessage(HRESULT hr);
