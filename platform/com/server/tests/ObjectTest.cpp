// Objects of the framework in process: construction and final release,
// interface maps, and the lock count they hold.
#include "com/server/Server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

inline constexpr IID IID_IProbe = guidOf("7A0C1E20-5B3D-4F6A-8C21-9D0E1F2A3B01");
inline constexpr IID IID_IProbeExtra = guidOf("7A0C1E21-5B3D-4F6A-8C21-9D0E1F2A3B01");
inline constexpr GUID LIBID_Nowhere = guidOf("7A0C1E22-5B3D-4F6A-8C21-9D0E1F2A3B01");

struct IProbe : IDispatch {
    virtual HRESULT Touch() = 0;
};
struct IProbeExtra : IUnknown {
    virtual HRESULT Extra() = 0;
};

} // namespace

COM_DECLARE_IID(IProbe, IID_IProbe);
COM_DECLARE_IID(IProbeExtra, IID_IProbeExtra);

namespace {

std::vector<std::string> events;
HRESULT finalConstructResult = S_OK;

class CProbe : public CComObjectRootEx<CComSingleThreadModel>,
               public IDispatchImpl<IProbe, &IID_IProbe, &LIBID_Nowhere>,
               public IProbeExtra {
public:
    BEGIN_COM_MAP(CProbe)
        COM_INTERFACE_ENTRY(IProbe)
        COM_INTERFACE_ENTRY2(IDispatch, IProbe)
        COM_INTERFACE_ENTRY(IProbeExtra)
    END_COM_MAP()

    CProbe() { events.push_back("construct"); }
    ~CProbe() { events.push_back("destruct"); }
    HRESULT FinalConstruct()
    {
        events.push_back("FinalConstruct");
        // A reference taken and dropped here must not destroy the object.
        GetUnknown()->AddRef();
        GetUnknown()->Release();
        return finalConstructResult;
    }
    void FinalRelease()
    {
        events.push_back("FinalRelease");
        GetUnknown()->AddRef();
        GetUnknown()->Release();
    }

    HRESULT Touch() override { return S_OK; }
    HRESULT Extra() override { return S_OK; }
};

class ObjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        events.clear();
        finalConstructResult = S_OK;
    }
};

TEST_F(ObjectTest, FinalReleaseRunsBeforeTheDestructorWhenTheLastReferenceGoes)
{
    CComObject<CProbe>* probe = nullptr;
    ASSERT_EQ(CComObject<CProbe>::CreateInstance(&probe), S_OK);
    EXPECT_EQ(probe->m_dwRef, 0);
    EXPECT_EQ(comserver::moduleLockCount(), 1);
    EXPECT_EQ(probe->AddRef(), 1u);
    EXPECT_EQ(probe->AddRef(), 2u);
    EXPECT_EQ(probe->Release(), 1u);
    EXPECT_EQ(events, (std::vector<std::string>{"construct", "FinalConstruct"}));
    EXPECT_EQ(probe->Release(), 0u);
    EXPECT_EQ(events, (std::vector<std::string>{"construct", "FinalConstruct", "FinalRelease",
                                                "destruct"}));
    EXPECT_EQ(comserver::moduleLockCount(), 0);
}

TEST_F(ObjectTest, AFailingFinalConstructDestroysTheObjectAndAnswersItsResult)
{
    finalConstructResult = E_ACCESSDENIED;
    auto* sentinel = reinterpret_cast<CComObject<CProbe>*>(0x1);
    CComObject<CProbe>* probe = sentinel;
    EXPECT_EQ(CComObject<CProbe>::CreateInstance(&probe), E_ACCESSDENIED);
    EXPECT_EQ(probe, nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"construct", "FinalConstruct", "FinalRelease",
                                                "destruct"}));
    EXPECT_EQ(comserver::moduleLockCount(), 0);
    EXPECT_EQ(CComObject<CProbe>::CreateInstance(nullptr), E_POINTER);
}

TEST_F(ObjectTest, QueryInterfaceAnswersTheMapAndOneIdentity)
{
    CComObject<CProbe>* probe = nullptr;
    ASSERT_EQ(CComObject<CProbe>::CreateInstance(&probe), S_OK);
    probe->AddRef();
    IUnknown* identity = nullptr;
    ASSERT_EQ(probe->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);

    struct Case {
        const IID* iid;
        HRESULT expected;
        void* pointer;
    };
    const Case cases[] = {
        {&IID_IProbe, S_OK, static_cast<IProbe*>(probe)},
        {&IID_IDispatch, S_OK, static_cast<IDispatch*>(static_cast<IProbe*>(probe))},
        {&IID_IProbeExtra, S_OK, static_cast<IProbeExtra*>(probe)},
        {&IID_IClassFactory, E_NOINTERFACE, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(guidToString(*c.iid));
        void* out = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(probe->QueryInterface(*c.iid, &out), c.expected);
        EXPECT_EQ(out, c.pointer);
        if (out == nullptr)
            continue;
        auto* unknown = static_cast<IUnknown*>(out);
        IUnknown* again = nullptr;
        EXPECT_EQ(unknown->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)), S_OK);
        EXPECT_EQ(again, identity);
        again->Release();
        unknown->Release();
    }
    EXPECT_EQ(probe->QueryInterface(IID_IProbe, nullptr), E_POINTER);
    identity->Release();
    EXPECT_EQ(probe->Release(), 0u);
}

TEST_F(ObjectTest, AnInterfaceMissingFromItsLibraryHasNoDispatch)
{
    CComObject<CProbe>* probe = nullptr;
    ASSERT_EQ(CComObject<CProbe>::CreateInstance(&probe), S_OK);
    probe->AddRef();
    IDispatch* dispatch = static_cast<IProbe*>(probe);
    UINT count = 7;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    OLECHAR name[] = u"Touch";
    LPOLESTR names[] = {name};
    DISPID dispid = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &dispid), TYPE_E_ELEMENTNOTFOUND);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(dispatch->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              TYPE_E_ELEMENTNOTFOUND);
    probe->Release();
}

} // namespace
