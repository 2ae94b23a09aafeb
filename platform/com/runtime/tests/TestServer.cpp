// A server module for the runtime's tests, written without any server
// framework: one class (TestObject, not aggregatable) and the two exports
// the runtime looks for. DllCanUnloadNow answers S_OK when no object and
// no lock is left.
#include "TestServer.h"

#include "com/ComError.h"
#include "com/Export.h"
#include "com/Runtime.h"

#include <atomic>
#include <new>

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

class TestObject final : public ITestObject, public ISupportErrorInfo, public IRunnableObject {
public:
    TestObject() { ++g_objects; }

    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_ITestObject)
            *ppv = static_cast<ITestObject*>(this);
        else if (riid == IID_ISupportErrorInfo)
            *ppv = static_cast<ISupportErrorInfo*>(this);
        else if (riid == IID_IRunnableObject)
            *ppv = static_cast<IRunnableObject*>(this);
        else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override
    {
        const ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT Fail(HRESULT hr, LPOLESTR description) override
    {
        ICreateErrorInfo* create = nullptr;
        if (SUCCEEDED(CreateErrorInfo(&create))) {
            create->SetGUID(IID_ITestObject);
            create->SetSource(const_cast<LPOLESTR>(u"TestObject"));
            create->SetDescription(description);
            IErrorInfo* info = nullptr;
            create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
            SetErrorInfo(0, info);
            info->Release();
            create->Release();
        }
        return hr;
    }
    HRESULT GetRunCount(ULONG* count) override
    {
        *count = m_runs;
        return S_OK;
    }

    HRESULT RaiseAndCatch(HRESULT hr) override
    {
        try {
            _com_issue_error(hr);
        } catch (const _com_error& error) {
            return error.Error();
        } catch (...) {
        }
        return E_UNEXPECTED;
    }

    HRESULT InterfaceSupportsErrorInfo(REFIID riid) override
    {
        return riid == IID_ITestObject ? S_OK : S_FALSE;
    }

    HRESULT GetRunningClass(LPCLSID clsid) override
    {
        *clsid = CLSID_TestObject;
        return S_OK;
    }
    HRESULT Run(void*) override
    {
        ++m_runs;
        return S_OK;
    }
    BOOL IsRunning() override { return m_runs > 0; }
    HRESULT LockRunning(BOOL, BOOL) override { return S_OK; }
    HRESULT SetContainedObject(BOOL) override { return S_OK; }

private:
    ~TestObject() { --g_objects; }
    std::atomic<ULONG> m_refs{1};
    ULONG m_runs = 0;
};

class Factory final : public IClassFactory {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // The factory is static; references to it lock the module.
    ULONG AddRef() override { return static_cast<ULONG>(++g_locks); }
    ULONG Release() override { return static_cast<ULONG>(--g_locks); }

    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* object = new (std::nothrow) TestObject;
        if (!object)
            return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
    HRESULT LockServer(BOOL lock) override
    {
        lock ? ++g_locks : --g_locks;
        return S_OK;
    }
};

Factory g_factory;

} // namespace

extern "C" COM_API HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_TestObject)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, ppv);
}

extern "C" COM_API HRESULT DllCanUnloadNow()
{
    return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}
