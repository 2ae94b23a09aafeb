// The fixtures of the part-model server's tests: a temporary registry (and
// log directory), COM on the test thread, the server registered from its
// module, and the recording double registered under the Tarsis servers'
// class IDs. After each test every object must be gone: the double holds
// no server and the module can unload.
#pragma once

#include "TarsisRecording.h"

#include "halcyra/HalcyraLib.h"

#include "com/Bstr.h"
#include "com/ComPtr.h"
#include "com/Runtime.h"
#include "registry/Registry.h"
#include "tarsis/TarsisServers.h"
#include "testing/ErrorInfo.h"
#include "testing/ScopedEnvironment.h"
#include "testing/TemporaryFolder.h"
#include "testing/TemporaryRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <dlfcn.h>

// The class IDs the stand-in serves under, which the recording double takes.
inline constexpr CLSID kPartWriter = tarsis::CLSID_TarsisPartWriter;
inline constexpr CLSID kShapeServer = tarsis::CLSID_TarsisShapeServer;
inline constexpr CLSID kMultWriter = tarsis::CLSID_TarsisMultWriter;

// A BSTR owned by the test.
class TestBstr {
public:
    TestBstr() = default;
    explicit TestBstr(const char16_t* text) : m_bstr(SysAllocString(text)) {}
    TestBstr(const char16_t* text, UINT length) : m_bstr(SysAllocStringLen(text, length)) {}
    TestBstr(const TestBstr&) = delete;
    TestBstr& operator=(const TestBstr&) = delete;
    ~TestBstr() { SysFreeString(m_bstr); }
    operator BSTR() const { return m_bstr; }
    BSTR* out() { return &m_bstr; }
    // The text, or "(null)".
    std::u16string text() const
    {
        return m_bstr ? std::u16string(m_bstr, SysStringLen(m_bstr)) : u"(null)";
    }

private:
    BSTR m_bstr = nullptr;
};

using testsupport::ErrorReport;
using testsupport::takeErrorReport;

// A controlling object on the stack for aggregation tests: the inner
// object's interfaces reach this object's reference count.
class Outer : public IUnknown {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        return inner->QueryInterface(riid, ppv);
    }
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }

    IUnknown* inner = nullptr;
    ULONG refs = 1;
};

// The server registered from its module in a temporary registry, COM on
// the test thread; afterwards no part object may be left alive.
class HalcyraServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        m_halcyraModule = dlopen(HALCYRA_PATH, RTLD_NOW);
        ASSERT_NE(m_halcyraModule, nullptr) << dlerror();
        ASSERT_EQ(serverExport("DllRegisterServer")(), S_OK);
    }

    void TearDown() override
    {
        CoFreeUnusedLibraries();
        if (m_halcyraModule) {
            EXPECT_EQ(serverExport("DllCanUnloadNow")(), S_OK) << "a part object is still alive";
            dlclose(m_halcyraModule);
        }
        CoUninitialize();
    }

    using Export = HRESULT (*)();
    Export serverExport(const char* name)
    {
        auto function = reinterpret_cast<Export>(dlsym(m_halcyraModule, name));
        EXPECT_NE(function, nullptr) << name;
        return function;
    }

    static void setString(const std::string& path, const char* name, const std::string& text)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                 nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                      static_cast<DWORD>(text.size() + 1));
        RegCloseKey(key);
    }

    template <class I>
    static CComPtr<I> create(REFCLSID clsid)
    {
        CComPtr<I> object;
        EXPECT_EQ(object.CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER), S_OK);
        return object;
    }

    // The maker's error log of this test.
    std::string logText() const
    {
        return testsupport::readFile(m_dir / "data" / "vlmr" / "log" / "error.log");
    }

    const testsupport::TemporaryRegistry m_registry{"halcyra"};
    const std::filesystem::path m_dir = m_registry.folder();
    const testsupport::ScopedEnvironment m_data{"XDG_DATA_HOME", (m_dir / "data").string()};
    void* m_halcyraModule = nullptr;
};

// The recording double registered under the Tarsis servers' class IDs;
// afterwards it must hold no server.
class HalcyraTest : public HalcyraServerTest {
protected:
    void SetUp() override
    {
        HalcyraServerTest::SetUp();
        m_recorderModule = dlopen(TARSIS_RECORDER_PATH, RTLD_NOW);
        ASSERT_NE(m_recorderModule, nullptr) << dlerror();
        auto recording =
            reinterpret_cast<TarsisRecording* (*)()>(dlsym(m_recorderModule, "tarsisRecording"));
        ASSERT_NE(recording, nullptr);
        m_tarsis = recording();
        m_tarsis->reset();
        for (const CLSID& clsid : {kPartWriter, kShapeServer, kMultWriter})
            registerRecorder(clsid);
    }

    void TearDown() override
    {
        CoFreeUnusedLibraries();
        if (m_tarsis) {
            EXPECT_EQ(m_tarsis->liveServers, 0) << "a Tarsis server was not released";
        }
        if (m_recorderModule)
            dlclose(m_recorderModule);
        HalcyraServerTest::TearDown();
    }

    // The double serves the class in process, also for a local-server
    // request (through a surrogate AppID).
    static void registerRecorder(REFCLSID clsid)
    {
        const std::string key = "CLSID\\" + guidToString(clsid);
        setString(key + "\\InprocServer32", nullptr, TARSIS_RECORDER_PATH);
        setString(key, "AppID", guidToString(clsid));
        setString("AppID\\" + guidToString(clsid), "DllSurrogate", "");
    }
    static void unregisterRecorder(REFCLSID clsid)
    {
        RegDeleteTree(HKEY_CLASSES_ROOT, ("CLSID\\" + guidToString(clsid)).c_str());
    }

    std::vector<std::string>& calls() { return m_tarsis->calls; }

    // A new part of job J1, group G1, mark M1 with the section given and
    // the description W8X10.
    template <class I>
    CComPtr<I> newIdentifiedPart(REFCLSID clsid, const char16_t* section)
    {
        CComPtr<I> part = create<I>(clsid);
        TestBstr job(u"J1"), group(u"G1"), mark(u"M1"), shape(section), description(u"W8X10");
        part->put_JobId(job);
        part->put_Group(group);
        part->put_Mark(mark);
        part->put_Section(shape);
        part->put_SectionDescription(description);
        return part;
    }
    // The recorded shape lookup of such a part.
    static std::string lookup(const std::string& section)
    {
        return "LookupShape(\"" + section + "\", \"W8X10\", &r8, &r8, &r8, &r8, &r8, &r8, &bstr)";
    }

    TarsisRecording* m_tarsis = nullptr;
    void* m_recorderModule = nullptr;
};
